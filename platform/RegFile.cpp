#include "platform/RegFile.h"

#include "platform/RegistryText.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>

namespace platform::regfile {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
constexpr int kHexLineWidth = 76; // regedit wraps its hex lists before column 80

bool IsLoneSurrogateAt(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

// Characters the quoted form carries: everything but control characters other than tab,
// line feed and carriage return (which are escaped), and lone surrogates (not UTF-8).
bool IsQuotable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
        if (IsLoneSurrogateAt(text, i))
            return false;
    }
    return true;
}

bool IsStorableKeyPart(const QString& part)
{
    if (part.isEmpty() || part.contains(kKeySeparator))
        return false;
    for (qsizetype i = 0; i < part.size(); ++i) {
        if (part.at(i).unicode() < 0x20 || IsLoneSurrogateAt(part, i))
            return false;
    }
    return true;
}

QStringList KeyParts(const QString& path)
{
    return path.isEmpty() ? QStringList() : path.split(kKeySeparator);
}

bool SamePath(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// a lies below b (not equal).
bool IsBelow(const QString& a, const QString& b)
{
    if (b.isEmpty())
        return !a.isEmpty();
    return a.size() > b.size() && a.at(b.size()) == kKeySeparator
        && a.left(b.size()).compare(b, Qt::CaseInsensitive) == 0;
}

// Parents before children, siblings by name without regard to case.
bool KeyOrderLess(const QString& a, const QString& b)
{
    const QStringList pa = KeyParts(a);
    const QStringList pb = KeyParts(b);
    const qsizetype n = std::min(pa.size(), pb.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int c = pa[i].compare(pb[i], Qt::CaseInsensitive);
        if (c != 0)
            return c < 0;
    }
    return pa.size() < pb.size();
}

QString Escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'"': out += QStringLiteral("\\\""); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

// The REG_SZ data as the text it holds when the quoted form gives back exactly these bytes.
std::optional<QString> QuotableText(const QByteArray& data)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    const qsizetype units = data.size() / 2 - 1;
    QString text(units, Qt::Uninitialized);
    const uchar* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (qsizetype i = 0; i <= units; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(bytes + 2 * i);
        if (i == units)
            return unit == 0 && IsQuotable(text) ? std::optional<QString>(text) : std::nullopt;
        if (unit == 0)
            return std::nullopt;
        text[i] = QChar(unit);
    }
    return std::nullopt;
}

QByteArray TextData(const QString& text)
{
    return EncodeRegistryText(text) + QByteArray(2, '\0');
}

QString HexList(const QString& prefix, const QByteArray& data)
{
    QString out = prefix;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const QString byte = QString::asprintf("%02x", static_cast<unsigned>(static_cast<uchar>(data[i])));
        const bool last = i + 1 == data.size();
        if (out.size() - lineStart + byte.size() + 2 > kHexLineWidth && i > 0) {
            out += QStringLiteral("\\\n  ");
            lineStart = out.size() - 2;
        }
        out += byte;
        if (!last)
            out += QLatin1Char(',');
    }
    return out;
}

QString FormatValue(const RegDocument::NamedValue& entry)
{
    const QString name = entry.name.isEmpty() ? QStringLiteral("@")
                                              : QLatin1Char('"') + Escape(entry.name) + QLatin1Char('"');
    const RegistryValue& value = entry.value;
    if (value.type == REG_SZ) {
        if (const auto text = QuotableText(value.data))
            return name + QStringLiteral("=\"") + Escape(*text) + QLatin1Char('"');
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const quint32 number = qFromLittleEndian<quint32>(value.data.constData());
        return name + QStringLiteral("=dword:") + QString::asprintf("%08x", number);
    }
    if (value.type == REG_BINARY)
        return HexList(name + QStringLiteral("=hex:"), value.data);
    return HexList(name + QStringLiteral("=hex(") + QString::number(value.type, 16) + QStringLiteral("):"),
                   value.data);
}

// ---- parsing ----

class Parser {
public:
    Parser(const QString& text, const QString& rootName)
        : FLines(text.split(QLatin1Char('\n'))), FRootName(rootName), FEndsWithLineBreak(text.endsWith(QLatin1Char('\n')))
    {
        for (QString& line : FLines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
    }

    RegDocument Parse()
    {
        SkipBlankAndComments();
        if (FIndex >= FLines.size() || FLines[FIndex].trimmed() != kHeader)
            Fail(QStringLiteral("the first line is not \"%1\"").arg(kHeader));
        // Every line ends with a line break, so a file cut off inside a line is seen as such.
        if (!FEndsWithLineBreak) {
            FIndex = FLines.size() - 1;
            Fail(QStringLiteral("the file ends inside a line"));
        }
        ++FIndex;
        std::optional<QString> key;
        for (; FIndex < FLines.size(); ++FIndex) {
            const QString line = FLines[FIndex].trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
                continue;
            if (line.startsWith(QLatin1Char('['))) {
                key = ParseSection(line);
                FDocument.CreateKey(*key);
            } else {
                if (!key)
                    Fail(QStringLiteral("a value before the first key"));
                ParseValueLine(*key, line);
            }
        }
        return std::move(FDocument);
    }

private:
    [[noreturn]] void Fail(const QString& reason) const
    {
        throw RegFormatError(static_cast<int>(FIndex) + 1, reason);
    }

    void SkipBlankAndComments()
    {
        while (FIndex < FLines.size()
               && (FLines[FIndex].trimmed().isEmpty() || FLines[FIndex].trimmed().startsWith(QLatin1Char(';'))))
            ++FIndex;
    }

    QString ParseSection(const QString& line) const
    {
        if (!line.endsWith(QLatin1Char(']')) || line.size() < 3)
            Fail(QStringLiteral("a key line without its closing bracket"));
        const QString full = line.mid(1, line.size() - 2);
        if (full.startsWith(QLatin1Char('-')))
            Fail(QStringLiteral("key deletions are not stored here"));
        if (SamePath(full, FRootName))
            return QString();
        if (!full.startsWith(FRootName + kKeySeparator, Qt::CaseInsensitive))
            Fail(QStringLiteral("a key outside %1").arg(FRootName));
        const auto path = NormalizeKeyPath(full.mid(FRootName.size() + 1));
        if (!path || path->isEmpty())
            Fail(QStringLiteral("an invalid key name"));
        return *path;
    }

    // A quoted string starting at pos (at the opening quote); pos ends after the closing quote.
    QString ParseQuoted(const QString& line, qsizetype& pos) const
    {
        QString out;
        ++pos;
        while (pos < line.size()) {
            const QChar c = line.at(pos++);
            if (c == QLatin1Char('"'))
                return out;
            if (c != QLatin1Char('\\')) {
                out += c;
                continue;
            }
            if (pos >= line.size())
                break;
            const QChar e = line.at(pos++);
            switch (e.unicode()) {
            case u'\\': out += QLatin1Char('\\'); break;
            case u'"': out += QLatin1Char('"'); break;
            case u'n': out += QLatin1Char('\n'); break;
            case u'r': out += QLatin1Char('\r'); break;
            default: Fail(QStringLiteral("an unknown escape \\%1").arg(e));
            }
        }
        Fail(QStringLiteral("a text without its closing quote"));
    }

    void ParseValueLine(const QString& key, const QString& line)
    {
        qsizetype pos = 0;
        QString name;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            name = ParseQuoted(line, pos);
            if (name.isEmpty())
                Fail(QStringLiteral("an empty value name"));
        } else {
            Fail(QStringLiteral("a line that is neither a key nor a value"));
        }
        if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
            Fail(QStringLiteral("a value name without \"=\""));
        ++pos;
        const QString rest = line.mid(pos).trimmed();
        FDocument.SetValue(key, name, ParseData(rest));
    }

    RegistryValue ParseData(const QString& rest)
    {
        if (rest.startsWith(QLatin1Char('"'))) {
            qsizetype pos = 0;
            const QString text = ParseQuoted(rest, pos);
            if (pos != rest.size())
                Fail(QStringLiteral("characters after a text"));
            return {REG_SZ, TextData(text)};
        }
        if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QString digits = rest.mid(6);
            bool ok = false;
            const quint32 number = digits.toUInt(&ok, 16);
            if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('+'))
                || digits.startsWith(QLatin1Char('-')))
                Fail(QStringLiteral("an invalid dword"));
            QByteArray data(4, '\0');
            qToLittleEndian<quint32>(number, data.data());
            return {REG_DWORD, data};
        }
        if (rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
            return ParseHex(rest);
        if (rest == QLatin1String("-"))
            Fail(QStringLiteral("value deletions are not stored here"));
        Fail(QStringLiteral("value data of an unknown form"));
    }

    RegistryValue ParseHex(const QString& first)
    {
        qsizetype pos = 3;
        quint32 type = REG_BINARY;
        if (pos < first.size() && first.at(pos) == QLatin1Char('(')) {
            const qsizetype close = first.indexOf(QLatin1Char(')'), pos);
            if (close < 0)
                Fail(QStringLiteral("an unclosed hex type"));
            const QString digits = first.mid(pos + 1, close - pos - 1);
            bool ok = false;
            type = digits.toUInt(&ok, 16);
            if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('+')))
                Fail(QStringLiteral("an invalid hex type"));
            pos = close + 1;
        }
        if (pos >= first.size() || first.at(pos) != QLatin1Char(':'))
            Fail(QStringLiteral("hex data without \":\""));
        QString list = first.mid(pos + 1).trimmed();
        while (list.endsWith(QLatin1Char('\\'))) {
            list.chop(1);
            if (++FIndex >= FLines.size())
                Fail(QStringLiteral("the file ends inside hex data"));
            list += FLines[FIndex].trimmed();
        }
        QByteArray data;
        if (!list.isEmpty()) {
            const QStringList bytes = list.split(QLatin1Char(','));
            data.reserve(bytes.size());
            for (const QString& byteText : bytes) {
                const QString digits = byteText.trimmed();
                bool ok = false;
                const uint byte = digits.toUInt(&ok, 16);
                if (!ok || digits.isEmpty() || digits.size() > 2 || digits.startsWith(QLatin1Char('+')))
                    Fail(QStringLiteral("an invalid byte in hex data"));
                data.append(static_cast<char>(byte));
            }
        }
        return {type, data};
    }

    QStringList FLines;
    QString FRootName;
    bool FEndsWithLineBreak;
    qsizetype FIndex = 0;
    RegDocument FDocument;
};

} // namespace

std::optional<QString> NormalizeKeyPath(const QString& path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == kKeySeparator)
        ++begin;
    while (end > begin && path.at(end - 1) == kKeySeparator)
        --end;
    const QString trimmed = path.mid(begin, end - begin);
    if (trimmed.isEmpty())
        return QString();
    for (const QString& part : trimmed.split(kKeySeparator)) {
        if (!IsStorableKeyPart(part))
            return std::nullopt;
    }
    return trimmed;
}

bool IsStorableValueName(const QString& name)
{
    return IsQuotable(name);
}

// ---- RegDocument ----

RegDocument::Key* RegDocument::Find(const QString& path)
{
    for (Key& key : FKeys) {
        if (SamePath(key.path, path))
            return &key;
    }
    return nullptr;
}

const RegDocument::Key* RegDocument::Find(const QString& path) const
{
    return const_cast<RegDocument*>(this)->Find(path);
}

RegDocument::Key& RegDocument::Insert(const QString& path)
{
    if (Key* existing = Find(path))
        return *existing;
    const auto at = std::find_if(FKeys.begin(), FKeys.end(),
                                 [&](const Key& key) { return KeyOrderLess(path, key.path); });
    return *FKeys.insert(at, Key{path, {}});
}

bool RegDocument::KeyExists(const QString& path) const
{
    return path.isEmpty() || Find(path) != nullptr;
}

void RegDocument::CreateKey(const QString& path)
{
    const QStringList parts = KeyParts(path);
    QString prefix;
    for (const QString& part : parts) {
        prefix = prefix.isEmpty() ? part : prefix + kKeySeparator + part;
        Insert(prefix);
    }
}

bool RegDocument::DeleteKey(const QString& path)
{
    if (path.isEmpty() || !Find(path))
        return false;
    std::erase_if(FKeys, [&](const Key& key) { return SamePath(key.path, path) || IsBelow(key.path, path); });
    return true;
}

const RegistryValue* RegDocument::FindValue(const QString& path, const QString& name) const
{
    const Key* key = Find(path);
    if (!key)
        return nullptr;
    for (const NamedValue& entry : key->values) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.value;
    }
    return nullptr;
}

void RegDocument::SetValue(const QString& path, const QString& name, const RegistryValue& value)
{
    CreateKey(path);
    Key& key = Insert(path);
    for (NamedValue& entry : key.values) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            entry.value = value;
            return;
        }
    }
    key.values.push_back({name, value});
}

bool RegDocument::DeleteValue(const QString& path, const QString& name)
{
    Key* key = Find(path);
    if (!key)
        return false;
    return std::erase_if(key->values, [&](const NamedValue& entry) {
               return entry.name.compare(name, Qt::CaseInsensitive) == 0;
           }) > 0;
}

QStringList RegDocument::ValueNames(const QString& path) const
{
    QStringList names;
    if (const Key* key = Find(path)) {
        for (const NamedValue& entry : key->values)
            names.append(entry.name);
    }
    return names;
}

// ---- text ----

RegFormatError::RegFormatError(int line, const QString& reason)
    : std::runtime_error((line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(reason) : reason).toStdString())
    , FLine(line)
    , FReason(reason)
{
}

QString FormatRegText(const RegDocument& document, const QString& rootName)
{
    QString out = kHeader + QLatin1Char('\n');
    for (const RegDocument::Key& key : document.Keys()) {
        out += QLatin1Char('\n');
        out += QLatin1Char('[') + rootName;
        if (!key.path.isEmpty())
            out += kKeySeparator + key.path;
        out += QStringLiteral("]\n");
        for (const RegDocument::NamedValue& entry : key.values)
            out += FormatValue(entry) + QLatin1Char('\n');
    }
    return out;
}

RegDocument ParseRegText(const QString& text, const QString& rootName)
{
    return Parser(text, rootName).Parse();
}

QByteArray EncodeRegFile(const QString& text)
{
    return text.toUtf8();
}

QString DecodeRegFile(const QByteArray& bytes)
{
    QString text;
    auto decodeUtf16 = [&](qsizetype start, bool littleEndian) {
        if ((bytes.size() - start) % 2 != 0)
            throw RegFormatError(0, QStringLiteral("UTF-16 text of an odd length"));
        const uchar* data = reinterpret_cast<const uchar*>(bytes.constData()) + start;
        const qsizetype units = (bytes.size() - start) / 2;
        text.resize(units);
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(littleEndian ? qFromLittleEndian<quint16>(data + 2 * i)
                                         : qFromBigEndian<quint16>(data + 2 * i));
    };
    if (bytes.startsWith("\xFF\xFE")) {
        decodeUtf16(2, true);
    } else if (bytes.startsWith("\xFE\xFF")) {
        decodeUtf16(2, false);
    } else {
        const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = decoder.decode(QByteArrayView(bytes).sliced(start));
        if (decoder.hasError())
            throw RegFormatError(0, QStringLiteral("text that is not valid UTF-8"));
    }
    // A null character never belongs in the text; a zero-filled tail is a torn write.
    if (text.contains(QChar(u'\0')))
        throw RegFormatError(0, QStringLiteral("a null character in the text"));
    return text;
}

} // namespace platform::regfile
