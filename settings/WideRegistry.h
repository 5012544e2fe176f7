#pragma once

// The registry accessor of the program: the platform accessor plus wide value names and
// texts, multi-string values, value-name enumeration and deletion by name.

#include "platform/Registry.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace settings {

using platform::ERegistryException;
using platform::HKEY;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using platform::TRegValueKind;

class EStringListError : public std::runtime_error {
public:
    explicit EStringListError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

class TWideRegistry : public platform::TRegistry {
public:
    TWideRegistry();

    bool ValueExistsW(const QString& name) const;
    // Bytes, or -1 when the value cannot be queried.
    int GetDataSizeW(const QString& name) const;
    bool GetDataInfoW(const QString& name, TRegValueKind& kind, int& size) const;

    // String or ExpandString values; the text ends at the first null character.
    QString ReadStringW(const QString& name) const;
    // REG_SZ with its terminating null.
    void WriteStringW(const QString& name, const QString& value);
    bool DeleteValueW(const QString& name);
    // Clears the list first.
    void GetValueNamesW(QStringList& names) const;

    // Clears the list first; an empty value gives an empty list.
    void ReadMultiStringW(const QString& name, QStringList& strings) const;
    // Every entry must be non-empty (EStringListError "Invalid empty string"; nothing is written).
    void WriteMultiStringW(const QString& name, const QStringList& strings);
};

} // namespace settings
