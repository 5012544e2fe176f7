#include "JsonLine.h"

#include <cstdio>

namespace cli {

namespace {

void AppendEscape(std::string& out, unsigned unit)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", unit);
    out += escape;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::string JsonString(std::u16string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (c) {
        case u'"': out += "\\\""; continue;
        case u'\\': out += "\\\\"; continue;
        case u'\n': out += "\\n"; continue;
        case u'\r': out += "\\r"; continue;
        case u'\t': out += "\\t"; continue;
        case u'\b': out += "\\b"; continue;
        case u'\f': out += "\\f"; continue;
        default: break;
        }
        if (c < 0x20) {
            AppendEscape(out, c);
        } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendEscape(out, c);
        } else {
            AppendUtf8(out, c);
        }
    }
    out += '"';
    return out;
}

void TJsonLine::Key(std::string_view key)
{
    if (FText.size() > 1)
        FText += ", ";
    FText += JsonString(std::u16string(key.begin(), key.end()));
    FText += ": ";
}

TJsonLine& TJsonLine::String(std::string_view key, std::u16string_view value)
{
    Key(key);
    FText += JsonString(value);
    return *this;
}

TJsonLine& TJsonLine::String(std::string_view key, const QString& value)
{
    return String(key, std::u16string_view(reinterpret_cast<const char16_t*>(value.utf16()),
                                           static_cast<std::size_t>(value.size())));
}

TJsonLine& TJsonLine::Number(std::string_view key, std::int64_t value)
{
    Key(key);
    FText += std::to_string(value);
    return *this;
}

TJsonLine& TJsonLine::Boolean(std::string_view key, bool value)
{
    Key(key);
    FText += value ? "true" : "false";
    return *this;
}

void WriteJsonLine(const TJsonLine& line)
{
    const std::string text = line.Text() + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

} // namespace cli
