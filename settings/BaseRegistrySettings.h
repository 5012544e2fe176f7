#pragma once

// The process-wide settings object: a base key below HKEY_CURRENT_USER and typed reads with a
// default (a missing value is stored with its default) and writes, each of which opens the
// key, does one value and closes the key again, under the instance lock.

#include "settings/WideRegistry.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace settings {

class ERegistrySettings : public std::runtime_error {
public:
    explicit ERegistrySettings(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

class TBaseRegistrySettings : public TWideRegistry {
public:
    TBaseRegistrySettings();
    ~TBaseRegistrySettings() override;

    // 0: the instance (may be nullptr); 1: the instance, created when there is none;
    // 2: forget the instance (it is not freed) and return nullptr. Any other request raises
    // "Illegal request %d in AccessInstance".
    static TBaseRegistrySettings* AccessInstance(int request);
    static TBaseRegistrySettings& Instance();
    // Frees the registered instance, if any (what the end of the program does).
    static void FreeInstance();

    // Raises "BaseRegistryKey is empty" while it has not been set.
    QString BaseRegistryKey() const;
    void SetBaseRegistryKey(const QString& key);

    int GetInteger(HKEY root, const QString& keyPath, int defaultValue, const QString& name);
    bool GetBoolean(HKEY root, const QString& keyPath, bool defaultValue, const QString& name);
    double GetFloat(HKEY root, const QString& keyPath, double defaultValue, const QString& name);
    QString GetWideString(HKEY root, const QString& keyPath, const QString& defaultValue, const QString& name);

    void SetInteger(HKEY root, const QString& keyPath, int value, const QString& name);
    void SetBoolean(HKEY root, const QString& keyPath, bool value, const QString& name);
    void SetFloat(HKEY root, const QString& keyPath, double value, const QString& name);
    void SetWideString(HKEY root, const QString& keyPath, const QString& value, const QString& name);

    // True and the value's bytes in stream when it exists; otherwise an empty stream, false,
    // and nothing is stored.
    bool GetStream(HKEY root, const QString& keyPath, QByteArray& stream, const QString& name);
    void SetStream(HKEY root, const QString& keyPath, const QByteArray& stream, const QString& name);

    // GetStream / SetStream on HKEY_CURRENT_USER below BaseRegistryKey() + subKey ("\Options").
    bool LoadSettingStream(const QString& subKey, const QString& name, QByteArray& stream);
    void SaveSettingStream(const QString& subKey, const QString& name, const QByteArray& stream);

protected:
    // The text value if the key and the value exist; nothing is created or stored.
    std::optional<QString> FindWideString(HKEY root, const QString& keyPath, const QString& name);

    using Factory = std::function<TBaseRegistrySettings*()>;
    // AccessInstance for a derived class: request 1 creates the instance with create.
    static TBaseRegistrySettings* AccessInstanceWith(int request, const Factory& create);

private:
    template <typename T, typename Read, typename Write>
    T ReadWithDefault(HKEY root, const QString& keyPath, const T& defaultValue, const QString& name,
                      Read read, Write write);
    template <typename Write>
    void WriteValue(HKEY root, const QString& keyPath, Write write);
    void OpenOrRaise(HKEY root, const QString& keyPath);

    mutable std::mutex FLock;
    QString FBaseRegistryKey;
};

} // namespace settings
