#pragma once

// One tree of registry keys with typed values, as the registry accessor sees it. Key paths
// are relative to the hive's root, their parts separated by a backslash; key and value names
// compare without regard to case, and keep the case they were created with.
//
// The per-user settings file is one hive; the installed-font view is another. Reads never
// raise; writes raise RegistryHiveError when the change could not be stored.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace platform {

// The registry's own type numbers.
enum RegistryType : quint32 {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

// A value as the system keeps it: its type number and its bytes (texts as UTF-16LE, numbers
// little-endian), whatever the type says.
struct RegistryValue {
    quint32 type = REG_NONE;
    QByteArray data;

    bool operator==(const RegistryValue&) const = default;
};

class RegistryHiveError : public std::runtime_error {
public:
    explicit RegistryHiveError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

class RegistryHive {
public:
    virtual ~RegistryHive() = default;

    virtual bool KeyExists(const QString& key) = 0;
    // Creates the key and every missing parent; nothing happens when it exists.
    virtual void CreateKey(const QString& key) = 0;
    // Deletes the key with everything below it; false when there was no such key.
    virtual bool DeleteKey(const QString& key) = 0;

    virtual std::optional<RegistryValue> QueryValue(const QString& key, const QString& name) = 0;
    // Creates the key when it is missing (another process may have deleted it meanwhile).
    virtual void SetValue(const QString& key, const QString& name, const RegistryValue& value) = 0;
    // False when there was no such value.
    virtual bool DeleteValue(const QString& key, const QString& name) = 0;
    // Empty when the key does not exist.
    virtual QStringList ValueNames(const QString& key) = 0;
};

} // namespace platform
