#pragma once

// The Windows registry export format (".reg", "Windows Registry Editor Version 5.00") as the
// text of one hive: the keys in order, each with its values, every type kept exactly.
//
//   [HKEY_CURRENT_USER\Software\Brindlecote]
//   "Name"="text"            REG_SZ whose data is the text and one terminating null
//   "Count"=dword:0000002a   REG_DWORD of exactly four bytes
//   "Data"=hex:01,02         REG_BINARY
//   "Path"=hex(2):...        any other type, or data the forms above cannot hold, as
//                            hex(<type in hex>): with the bytes as they are
//   @="..."                  the key's unnamed value
//
// Quoted names and texts escape a backslash as \\, a quote as \", a line feed as \n and a
// carriage return as \r; a text with any other control character is written as hex(1).
// Long hex lists are wrapped as regedit does (",\" and an indented continuation line).
// Lines starting with ";" are comments. The last line ends with a line break, as regedit
// writes it; a file cut off inside a line is refused.

#include "platform/RegistryHive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace platform::regfile {

inline constexpr char16_t kKeySeparator = u'\\';

// The key path without leading and trailing separators (empty for the root), or nullopt when
// a part of it is empty or holds a character a key name cannot hold (control characters, lone
// surrogates).
std::optional<QString> NormalizeKeyPath(const QString& path);
// Value names may hold any character the quoted form can carry (see above).
bool IsStorableValueName(const QString& name);

class RegDocument {
public:
    struct NamedValue {
        QString name;
        RegistryValue value;
        bool operator==(const NamedValue&) const = default;
    };
    struct Key {
        QString path; // normalized; empty for the hive's root
        std::vector<NamedValue> values;
        bool operator==(const Key&) const = default;
    };

    // Every function takes normalized key paths (NormalizeKeyPath).
    bool KeyExists(const QString& path) const;
    // Creates the key and its parents.
    void CreateKey(const QString& path);
    // Removes the key and every key below it.
    bool DeleteKey(const QString& path);

    const RegistryValue* FindValue(const QString& path, const QString& name) const;
    // Creates the key when missing; a new value goes after the key's other values.
    void SetValue(const QString& path, const QString& name, const RegistryValue& value);
    bool DeleteValue(const QString& path, const QString& name);
    QStringList ValueNames(const QString& path) const;

    // Parents before children, siblings ordered by name without regard to case.
    const std::vector<Key>& Keys() const { return FKeys; }

    bool operator==(const RegDocument&) const = default;

private:
    Key* Find(const QString& path);
    const Key* Find(const QString& path) const;
    Key& Insert(const QString& path);

    std::vector<Key> FKeys;
};

class RegFormatError : public std::runtime_error {
public:
    RegFormatError(int line, const QString& reason);
    int Line() const { return FLine; }
    QString Reason() const { return FReason; }

private:
    int FLine;
    QString FReason;
};

// rootName is the hive's name in the section lines, e.g. "HKEY_CURRENT_USER".
QString FormatRegText(const RegDocument& document, const QString& rootName);
// Raises RegFormatError for anything that is not the format above, or a section of another root.
RegDocument ParseRegText(const QString& text, const QString& rootName);

// Files are written as UTF-8 without a byte order mark, so that the usual Linux tools read
// them; files exported on Windows (UTF-16LE with a byte order mark) and UTF-16BE or UTF-8
// files with a byte order mark are read as well. Raises RegFormatError (line 0) for bytes that
// are not valid text in their encoding.
QByteArray EncodeRegFile(const QString& text);
QString DecodeRegFile(const QByteArray& bytes);

} // namespace platform::regfile
