#pragma once

// One JSON object on one line, keys in the order they are added (scripts and diffs rely on a
// stable order, which QJsonObject does not keep).

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

class TJsonLine {
public:
    TJsonLine& String(std::string_view key, std::u16string_view value);
    TJsonLine& String(std::string_view key, const QString& value);
    TJsonLine& Number(std::string_view key, std::int64_t value);
    TJsonLine& Boolean(std::string_view key, bool value);

    // The object in UTF-8, without a line end.
    std::string Text() const { return FText + "}"; }

private:
    void Key(std::string_view key);

    std::string FText = "{";
};

// A JSON string literal of UTF-16 text: quotes, backslashes and control characters escaped,
// other characters in UTF-8; a lone surrogate is kept as a \u escape.
std::string JsonString(std::u16string_view text);

// Writes one object and a line feed to standard output.
void WriteJsonLine(const TJsonLine& line);

} // namespace cli
