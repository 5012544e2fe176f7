#include "platform/Registry.h"

#include "platform/RegFile.h"
#include "platform/UserRegistryStore.h"

#include <QtEndian>

#include <cstring>
#include <map>
#include <mutex>

namespace platform {

namespace {

std::mutex GHivesLock;
std::map<HKEY, std::shared_ptr<RegistryHive>> GHives;
bool GUserHiveReplaced = false;

QString JoinKey(const QString& parent, const QString& child)
{
    if (parent.isEmpty())
        return child;
    if (child.isEmpty())
        return parent;
    return parent + regfile::kKeySeparator + child;
}

} // namespace

TRegValueKind KindFromRegistryType(quint32 type)
{
    switch (type) {
    case REG_SZ: return TRegValueKind::String;
    case REG_EXPAND_SZ: return TRegValueKind::ExpandString;
    case REG_DWORD: return TRegValueKind::Integer;
    case REG_BINARY: return TRegValueKind::Binary;
    case REG_MULTI_SZ: return TRegValueKind::MultiString;
    default: return TRegValueKind::Unknown;
    }
}

quint32 RegistryTypeFromKind(TRegValueKind kind)
{
    switch (kind) {
    case TRegValueKind::String: return REG_SZ;
    case TRegValueKind::ExpandString: return REG_EXPAND_SZ;
    case TRegValueKind::Integer: return REG_DWORD;
    case TRegValueKind::Binary: return REG_BINARY;
    case TRegValueKind::MultiString: return REG_MULTI_SZ;
    case TRegValueKind::Unknown: break;
    }
    return REG_NONE;
}

std::shared_ptr<RegistryHive> HiveForRoot(HKEY root)
{
    std::lock_guard guard(GHivesLock);
    if (const auto it = GHives.find(root); it != GHives.end())
        return it->second;
    if (root == HKEY_CURRENT_USER && !GUserHiveReplaced)
        return UserRegistryStore::Default();
    return nullptr;
}

void SetHiveForRoot(HKEY root, std::shared_ptr<RegistryHive> hive)
{
    std::lock_guard guard(GHivesLock);
    if (root == HKEY_CURRENT_USER)
        GUserHiveReplaced = hive != nullptr;
    if (hive)
        GHives[root] = std::move(hive);
    else
        GHives.erase(root);
}

TRegistry::TRegistry() = default;

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    FRootKey = root;
}

QString TRegistry::ResolvePath(const QString& key) const
{
    const bool fromRoot = key.startsWith(regfile::kKeySeparator) || !HasCurrentKey();
    return fromRoot ? key : JoinKey(FCurrentPath, key);
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    std::shared_ptr<RegistryHive> hive = HiveForRoot(FRootKey);
    if (!hive)
        return false;
    const auto path = regfile::NormalizeKeyPath(ResolvePath(key));
    if (!path)
        return false;
    try {
        if (canCreate)
            hive->CreateKey(*path);
        else if (!hive->KeyExists(*path))
            return false;
    } catch (const RegistryHiveError& error) {
        FLastError = error.Message();
        return false;
    }
    CloseKey();
    FCurrentHive = std::move(hive);
    FCurrentPath = *path;
    return true;
}

void TRegistry::CloseKey()
{
    FCurrentHive.reset();
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const QString& key)
{
    const std::shared_ptr<RegistryHive> hive = HiveForRoot(FRootKey);
    const auto path = regfile::NormalizeKeyPath(ResolvePath(key));
    return hive && path && hive->KeyExists(*path);
}

bool TRegistry::DeleteKey(const QString& key)
{
    const std::shared_ptr<RegistryHive> hive = HiveForRoot(FRootKey);
    const auto path = regfile::NormalizeKeyPath(ResolvePath(key));
    if (!hive || !path)
        return false;
    try {
        return hive->DeleteKey(*path);
    } catch (const RegistryHiveError& error) {
        FLastError = error.Message();
        return false;
    }
}

std::optional<RegistryValue> TRegistry::QueryCurrentValue(const QString& name) const
{
    if (!FCurrentHive)
        return std::nullopt;
    return FCurrentHive->QueryValue(FCurrentPath, name);
}

bool TRegistry::SetCurrentValue(const QString& name, quint32 type, const QByteArray& data)
{
    if (!FCurrentHive) {
        FLastError = QStringLiteral("No key is open");
        return false;
    }
    try {
        FCurrentHive->SetValue(FCurrentPath, name, RegistryValue{type, data});
        return true;
    } catch (const RegistryHiveError& error) {
        FLastError = error.Message();
        return false;
    }
}

QString TRegistry::InvalidDataTypeText(const QString& name)
{
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}

QString TRegistry::FailedToGetDataText(const QString& name)
{
    return QStringLiteral("Failed to get data for '%1'").arg(name);
}

QString TRegistry::FailedToSetDataText(const QString& name)
{
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}

bool TRegistry::ValueExists(const QString& name) const
{
    return QueryCurrentValue(name).has_value();
}

int TRegistry::GetDataSize(const QString& name) const
{
    const auto value = QueryCurrentValue(name);
    return value ? static_cast<int>(value->data.size()) : -1;
}

bool TRegistry::GetDataInfo(const QString& name, TRegDataInfo& info) const
{
    const auto value = QueryCurrentValue(name);
    info = {};
    if (!value)
        return false;
    info.RegData = KindFromRegistryType(value->type);
    info.DataSize = static_cast<int>(value->data.size());
    return true;
}

TRegValueKind TRegistry::GetDataType(const QString& name) const
{
    TRegDataInfo info;
    GetDataInfo(name, info);
    return info.RegData;
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!FCurrentHive)
        return false;
    try {
        return FCurrentHive->DeleteValue(FCurrentPath, name);
    } catch (const RegistryHiveError& error) {
        FLastError = error.Message();
        return false;
    }
}

QStringList TRegistry::GetValueNames() const
{
    return FCurrentHive ? FCurrentHive->ValueNames(FCurrentPath) : QStringList();
}

std::optional<RegistryValue> TRegistry::QueryOrFail(const QString& name) const
{
    auto value = QueryCurrentValue(name);
    if (!value)
        throw ERegistryException(FailedToGetDataText(name));
    return value;
}

void TRegistry::WriteOrRaise(const QString& name, quint32 type, const QByteArray& data)
{
    if (!SetCurrentValue(name, type, data))
        throw ERegistryException(FailedToSetDataText(name));
}

int TRegistry::ReadInteger(const QString& name)
{
    const auto value = QueryOrFail(name);
    if (value->type != REG_DWORD || value->data.size() != 4)
        throw ERegistryException(InvalidDataTypeText(name));
    return qFromLittleEndian<qint32>(value->data.constData());
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(value, data.data());
    WriteOrRaise(name, REG_DWORD, data);
}

bool TRegistry::ReadBool(const QString& name)
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const QString& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

double TRegistry::ReadFloat(const QString& name)
{
    const auto value = QueryOrFail(name);
    if (value->type != REG_BINARY || value->data.size() != static_cast<qsizetype>(sizeof(double)))
        throw ERegistryException(InvalidDataTypeText(name));
    const quint64 bits = qFromLittleEndian<quint64>(value->data.constData());
    double result = 0;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

void TRegistry::WriteFloat(const QString& name, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray data(8, '\0');
    qToLittleEndian<quint64>(bits, data.data());
    WriteOrRaise(name, REG_BINARY, data);
}

QByteArray TRegistry::ReadBinaryData(const QString& name)
{
    const auto value = QueryOrFail(name);
    const TRegValueKind kind = KindFromRegistryType(value->type);
    if (kind != TRegValueKind::Binary && kind != TRegValueKind::Unknown)
        throw ERegistryException(InvalidDataTypeText(name));
    return value->data;
}

void TRegistry::WriteBinaryData(const QString& name, const QByteArray& data)
{
    WriteOrRaise(name, REG_BINARY, data);
}

} // namespace platform
