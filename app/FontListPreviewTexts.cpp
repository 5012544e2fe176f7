#include "app/FontListPreviewTexts.h"

#include "catalogue/FontItem.h"
#include "catalogue/FontItemTexts.h"

namespace app {

TFontListPreviewTexts::TFontListPreviewTexts()
    : FTexts{{QStringLiteral("Font Name"), QStringLiteral("{Font_Name}")},
             {QStringLiteral("Digits"), QStringLiteral("0123456789")},
             {QStringLiteral("Sample 1"), QStringLiteral("Sample 1 {Font_Name}")}},
      FSymbolText(QStringLiteral("AbCdEfGhIj"))
{
}

void TFontListPreviewTexts::Select(int index)
{
    FSelectedIndex = index >= 0 && index < static_cast<int>(FTexts.size()) ? index : -1;
}

QString TFontListPreviewTexts::TextFor(const catalogue::TFontItem& face) const
{
    if (face.Symbol() && FUseSymbolText)
        return FSymbolText;
    if (FSelectedIndex < 0)
        return face.DisplayName();
    return catalogue::ExpandFontPlaceholders(FTexts[static_cast<std::size_t>(FSelectedIndex)].Text, face);
}

} // namespace app
