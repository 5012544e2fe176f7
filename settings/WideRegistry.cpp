#include "settings/WideRegistry.h"

#include "platform/RegistryText.h"
#include "platform/UserRegistryStore.h"
#include "support/LoggerUnit.h"

#include <mutex>

namespace settings {

TWideRegistry::TWideRegistry()
{
    // Problems the settings file recovers from belong in the error log.
    static std::once_flag reporterInstalled;
    std::call_once(reporterInstalled, [] {
        platform::UserRegistryStore::SetProblemReporter([](const QString& message) { support::LogError(message); });
    });
}

bool TWideRegistry::ValueExistsW(const QString& name) const
{
    return QueryCurrentValue(name).has_value();
}

int TWideRegistry::GetDataSizeW(const QString& name) const
{
    const auto value = QueryCurrentValue(name);
    return value ? static_cast<int>(value->data.size()) : -1;
}

bool TWideRegistry::GetDataInfoW(const QString& name, TRegValueKind& kind, int& size) const
{
    const auto value = QueryCurrentValue(name);
    kind = TRegValueKind::Unknown;
    size = 0;
    if (!value)
        return false;
    kind = platform::KindFromRegistryType(value->type);
    size = static_cast<int>(value->data.size());
    return true;
}

QString TWideRegistry::ReadStringW(const QString& name) const
{
    if (GetDataSizeW(name) <= 0)
        return QString();
    const auto value = QueryCurrentValue(name);
    if (!value)
        throw ERegistryException(FailedToGetDataText(name));
    const TRegValueKind kind = platform::KindFromRegistryType(value->type);
    if (kind != TRegValueKind::String && kind != TRegValueKind::ExpandString)
        throw ERegistryException(InvalidDataTypeText(name));
    QString text = platform::DecodeRegistryText(value->data);
    const qsizetype end = text.indexOf(QChar(u'\0'));
    if (end >= 0)
        text.truncate(end);
    return text;
}

void TWideRegistry::WriteStringW(const QString& name, const QString& value)
{
    if (!SetCurrentValue(name, platform::REG_SZ, platform::EncodeRegistryText(value) + QByteArray(2, '\0')))
        throw ERegistryException(FailedToSetDataText(name));
}

bool TWideRegistry::DeleteValueW(const QString& name)
{
    return DeleteValue(name);
}

void TWideRegistry::GetValueNamesW(QStringList& names) const
{
    names.clear();
    names.append(GetValueNames());
}

void TWideRegistry::ReadMultiStringW(const QString& name, QStringList& strings) const
{
    strings.clear();
    if (GetDataSizeW(name) <= 0)
        return;
    const auto value = QueryCurrentValue(name);
    if (!value)
        throw ERegistryException(FailedToGetDataText(name));
    if (platform::KindFromRegistryType(value->type) != TRegValueKind::MultiString)
        throw ERegistryException(InvalidDataTypeText(name));
    // The walk stops at the end of the data even when the closing nulls are missing.
    const QString buffer = platform::DecodeRegistryText(value->data);
    qsizetype pos = 0;
    while (pos < buffer.size() && buffer.at(pos) != QChar(u'\0')) {
        qsizetype end = buffer.indexOf(QChar(u'\0'), pos);
        if (end < 0)
            end = buffer.size();
        strings.append(buffer.mid(pos, end - pos));
        pos = end + 1;
    }
}

void TWideRegistry::WriteMultiStringW(const QString& name, const QStringList& strings)
{
    QByteArray data;
    for (const QString& entry : strings) {
        if (entry.isEmpty())
            throw EStringListError(QStringLiteral("Invalid empty string"));
        data += platform::EncodeRegistryText(entry) + QByteArray(2, '\0');
    }
    data += QByteArray(2, '\0');
    if (!SetCurrentValue(name, platform::REG_MULTI_SZ, data))
        throw ERegistryException(FailedToSetDataText(name));
}

} // namespace settings
