#include "settings/BaseRegistrySettings.h"

#include "support/LoggerUnit.h"

namespace settings {

namespace {

const QString kOpenFailed = QStringLiteral("Error opening or creating registry key");
const QString kReadFailed = QStringLiteral("Error reading registry values");
const QString kWriteFailed = QStringLiteral("Error writing registry values");

std::mutex GInstanceLock;
TBaseRegistrySettings* GInstance = nullptr;

// The end of the program frees the instance; nothing may escape from there.
struct InstanceFinalizer {
    InstanceFinalizer() = default;
    InstanceFinalizer(const InstanceFinalizer&) = delete;
    InstanceFinalizer& operator=(const InstanceFinalizer&) = delete;
    ~InstanceFinalizer()
    {
        try {
            TBaseRegistrySettings::FreeInstance();
        } catch (...) {
        }
    }
} GInstanceFinalizer;

// Closes the open key however the operation ends.
class KeyCloser {
public:
    explicit KeyCloser(platform::TRegistry& registry) : FRegistry(registry) {}
    ~KeyCloser() { FRegistry.CloseKey(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    platform::TRegistry& FRegistry;
};

} // namespace

TBaseRegistrySettings::TBaseRegistrySettings() = default;

TBaseRegistrySettings::~TBaseRegistrySettings()
{
    bool registered = false;
    {
        std::lock_guard guard(GInstanceLock);
        registered = GInstance == this;
    }
    if (registered)
        AccessInstance(2);
}

TBaseRegistrySettings* TBaseRegistrySettings::AccessInstanceWith(int request, const Factory& create)
{
    std::lock_guard guard(GInstanceLock);
    switch (request) {
    case 0:
        return GInstance;
    case 1:
        if (!GInstance)
            GInstance = create();
        return GInstance;
    case 2:
        GInstance = nullptr;
        return nullptr;
    default:
        throw std::runtime_error(QStringLiteral("Illegal request %1 in AccessInstance").arg(request).toStdString());
    }
}

TBaseRegistrySettings* TBaseRegistrySettings::AccessInstance(int request)
{
    return AccessInstanceWith(request, [] { return new TBaseRegistrySettings(); });
}

TBaseRegistrySettings& TBaseRegistrySettings::Instance()
{
    return *AccessInstance(1);
}

void TBaseRegistrySettings::FreeInstance()
{
    delete AccessInstance(0); // the destructor forgets the instance
}

QString TBaseRegistrySettings::BaseRegistryKey() const
{
    std::lock_guard guard(FLock);
    if (FBaseRegistryKey.isEmpty())
        throw std::runtime_error("BaseRegistryKey is empty");
    return FBaseRegistryKey;
}

void TBaseRegistrySettings::SetBaseRegistryKey(const QString& key)
{
    std::lock_guard guard(FLock);
    FBaseRegistryKey = key;
}

void TBaseRegistrySettings::OpenOrRaise(HKEY root, const QString& keyPath)
{
    SetRootKey(root);
    if (!OpenKey(keyPath, true)) {
        if (!LastError().isEmpty())
            support::LogError(QStringLiteral("Settings key %1: %2").arg(keyPath, LastError()));
        throw ERegistrySettings(kOpenFailed);
    }
}

template <typename T, typename Read, typename Write>
T TBaseRegistrySettings::ReadWithDefault(HKEY root, const QString& keyPath, const T& defaultValue,
                                         const QString& name, Read read, Write write)
{
    std::lock_guard guard(FLock);
    OpenOrRaise(root, keyPath);
    KeyCloser closer(*this);
    try {
        if (ValueExistsW(name))
            return read(name);
        write(name, defaultValue);
        return defaultValue;
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Settings value %1\\%2: %3").arg(keyPath, name, QString::fromUtf8(error.what())));
        throw ERegistrySettings(kReadFailed);
    }
}

template <typename Write>
void TBaseRegistrySettings::WriteValue(HKEY root, const QString& keyPath, Write write)
{
    std::lock_guard guard(FLock);
    OpenOrRaise(root, keyPath);
    KeyCloser closer(*this);
    try {
        write();
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Settings key %1: %2 %3").arg(keyPath, QString::fromUtf8(error.what()), LastError()));
        throw ERegistrySettings(kWriteFailed);
    }
}

int TBaseRegistrySettings::GetInteger(HKEY root, const QString& keyPath, int defaultValue, const QString& name)
{
    return ReadWithDefault(
        root, keyPath, defaultValue, name, [this](const QString& n) { return ReadInteger(n); },
        [this](const QString& n, int v) { WriteInteger(n, v); });
}

bool TBaseRegistrySettings::GetBoolean(HKEY root, const QString& keyPath, bool defaultValue, const QString& name)
{
    return ReadWithDefault(
        root, keyPath, defaultValue, name, [this](const QString& n) { return ReadBool(n); },
        [this](const QString& n, bool v) { WriteBool(n, v); });
}

double TBaseRegistrySettings::GetFloat(HKEY root, const QString& keyPath, double defaultValue, const QString& name)
{
    return ReadWithDefault(
        root, keyPath, defaultValue, name, [this](const QString& n) { return ReadFloat(n); },
        [this](const QString& n, double v) { WriteFloat(n, v); });
}

QString TBaseRegistrySettings::GetWideString(HKEY root, const QString& keyPath, const QString& defaultValue,
                                             const QString& name)
{
    return ReadWithDefault(
        root, keyPath, defaultValue, name, [this](const QString& n) { return ReadStringW(n); },
        [this](const QString& n, const QString& v) { WriteStringW(n, v); });
}

void TBaseRegistrySettings::SetInteger(HKEY root, const QString& keyPath, int value, const QString& name)
{
    WriteValue(root, keyPath, [&] { WriteInteger(name, value); });
}

void TBaseRegistrySettings::SetBoolean(HKEY root, const QString& keyPath, bool value, const QString& name)
{
    WriteValue(root, keyPath, [&] { WriteBool(name, value); });
}

void TBaseRegistrySettings::SetFloat(HKEY root, const QString& keyPath, double value, const QString& name)
{
    WriteValue(root, keyPath, [&] { WriteFloat(name, value); });
}

void TBaseRegistrySettings::SetWideString(HKEY root, const QString& keyPath, const QString& value, const QString& name)
{
    WriteValue(root, keyPath, [&] { WriteStringW(name, value); });
}

bool TBaseRegistrySettings::GetStream(HKEY root, const QString& keyPath, QByteArray& stream, const QString& name)
{
    std::lock_guard guard(FLock);
    OpenOrRaise(root, keyPath);
    KeyCloser closer(*this);
    try {
        if (!ValueExistsW(name)) {
            stream.clear();
            return false;
        }
        stream = ReadBinaryData(name);
        return true;
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Settings value %1\\%2: %3").arg(keyPath, name, QString::fromUtf8(error.what())));
        throw ERegistrySettings(kReadFailed);
    }
}

void TBaseRegistrySettings::SetStream(HKEY root, const QString& keyPath, const QByteArray& stream, const QString& name)
{
    WriteValue(root, keyPath, [&] { WriteBinaryData(name, stream); });
}

bool TBaseRegistrySettings::LoadSettingStream(const QString& subKey, const QString& name, QByteArray& stream)
{
    return GetStream(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, stream, name);
}

void TBaseRegistrySettings::SaveSettingStream(const QString& subKey, const QString& name, const QByteArray& stream)
{
    SetStream(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, stream, name);
}

std::optional<QString> TBaseRegistrySettings::FindWideString(HKEY root, const QString& keyPath, const QString& name)
{
    std::lock_guard guard(FLock);
    SetRootKey(root);
    if (!OpenKey(keyPath, false))
        return std::nullopt;
    KeyCloser closer(*this);
    try {
        if (!ValueExistsW(name))
            return std::nullopt;
        return ReadStringW(name);
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Settings value %1\\%2: %3").arg(keyPath, name, QString::fromUtf8(error.what())));
        throw ERegistrySettings(kReadFailed);
    }
}

} // namespace settings
