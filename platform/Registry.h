#pragma once

// The registry accessor the program's settings and font registry are built on: a root key,
// one open key at a time, and typed access to the values of that key. Root keys map to hives:
// HKEY_CURRENT_USER is the per-user settings file; HKEY_LOCAL_MACHINE has no hive until one is
// installed with SetHiveForRoot, and opening a key there fails.

#include "platform/RegistryHive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

namespace platform {

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// The data kind of a value. Note the crossing: Integer is REG_DWORD (4), Binary is REG_BINARY (3).
enum class TRegValueKind : int {
    Unknown = 0,
    String = 1,
    ExpandString = 2,
    Integer = 3,
    Binary = 4,
    MultiString = 5,
};

// Any type number outside the five known ones reads as Unknown.
TRegValueKind KindFromRegistryType(quint32 type);
// Unknown is written as REG_NONE.
quint32 RegistryTypeFromKind(TRegValueKind kind);

struct TRegDataInfo {
    TRegValueKind RegData = TRegValueKind::Unknown;
    int DataSize = 0;
};

class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

// The hive behind a root key; nullptr when the root has none. The per-user file store is
// used for HKEY_CURRENT_USER unless another hive was installed.
std::shared_ptr<RegistryHive> HiveForRoot(HKEY root);
// Installs (or, with nullptr, removes) the hive of a root key: the installed-font view, or a
// store of its own in tests. Keys already open keep their hive.
void SetHiveForRoot(HKEY root, std::shared_ptr<RegistryHive> hive);

class TRegistry {
public:
    TRegistry();
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY root);

    // A path starting with a backslash, or any path while no key is open, is taken from the
    // root; otherwise it is below the open key. False when the key does not exist (and may
    // not be created) or cannot be created.
    bool OpenKey(const QString& key, bool canCreate);
    void CloseKey();
    bool HasCurrentKey() const { return FCurrentHive != nullptr; }
    // The open key's path from the root, without a leading backslash.
    QString CurrentPath() const { return FCurrentPath; }

    bool KeyExists(const QString& key);
    bool DeleteKey(const QString& key);

    bool ValueExists(const QString& name) const;
    // -1 when the value cannot be queried.
    int GetDataSize(const QString& name) const;
    bool GetDataInfo(const QString& name, TRegDataInfo& info) const;
    TRegValueKind GetDataType(const QString& name) const;
    bool DeleteValue(const QString& name);
    QStringList GetValueNames() const;

    // Typed access; a value of another kind, or of the wrong size, raises ERegistryException
    // "Invalid data type for '%s'", a failed write "Failed to set data for '%s'".
    int ReadInteger(const QString& name);
    void WriteInteger(const QString& name, int value);
    bool ReadBool(const QString& name);
    void WriteBool(const QString& name, bool value);
    double ReadFloat(const QString& name);
    void WriteFloat(const QString& name, double value);
    // Binary or Unknown values only; the whole data.
    QByteArray ReadBinaryData(const QString& name);
    void WriteBinaryData(const QString& name, const QByteArray& data);

protected:
    // The open key's raw values, as the system calls give them. Both fail without an open key.
    std::optional<RegistryValue> QueryCurrentValue(const QString& name) const;
    // False when the value could not be stored; the reason is in LastError().
    bool SetCurrentValue(const QString& name, quint32 type, const QByteArray& data);
    QString LastError() const { return FLastError; }

    static QString InvalidDataTypeText(const QString& name);
    static QString FailedToGetDataText(const QString& name);
    static QString FailedToSetDataText(const QString& name);

private:
    QString ResolvePath(const QString& key) const;
    std::optional<RegistryValue> QueryOrFail(const QString& name) const;
    void WriteOrRaise(const QString& name, quint32 type, const QByteArray& data);

    HKEY FRootKey = HKEY_CURRENT_USER;
    std::shared_ptr<RegistryHive> FCurrentHive;
    QString FCurrentPath;
    QString FLastError;
};

} // namespace platform
