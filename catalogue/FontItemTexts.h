#pragma once

// The words the program shows for the values of a face, and the {FONT_...} placeholders of
// preview texts, reports and web pages.

#include <QString>

#include <array>
#include <cstdint>

namespace catalogue {

class TFontItem;
enum class TFontStatusCode : int;

QString WeightText(int weight);
QString WidthText(int widthClass);
QString EmbeddingText(std::uint16_t embeddingBits);
QString PanoseText(const std::array<std::uint8_t, 10>& panose);
QString VersionText(double fontRevision);
QString FontKindText(std::uint8_t kind);
QString FontKindShortText(std::uint8_t kind);
QString StatusCodeText(TFontStatusCode code);

// Replaces every {FONT_...} placeholder of text, in any letter case, with the item's values.
QString ExpandFontPlaceholders(const QString& text, const TFontItem& item);

} // namespace catalogue
