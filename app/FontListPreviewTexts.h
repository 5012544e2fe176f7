#pragma once

// The preview texts the lists choose from (cbPreviewTexts): named one-line texts with
// {FONT_...} placeholders, the selected one, and the text symbol fonts show instead.

#include <QString>

#include <vector>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

struct TFontListPreviewText {
    QString Name;
    QString Text;
};

class TFontListPreviewTexts {
public:
    // "Font Name", "Digits" and "Sample 1", the first selected; symbol text "AbCdEfGhIj".
    TFontListPreviewTexts();

    const std::vector<TFontListPreviewText>& Texts() const { return FTexts; }
    int SelectedIndex() const { return FSelectedIndex; }
    // An index outside the texts selects the face's own name (-1).
    void Select(int index);
    bool UseSymbolText() const { return FUseSymbolText; }
    void SetUseSymbolText(bool value) { FUseSymbolText = value; }
    const QString& SymbolText() const { return FSymbolText; }
    void SetSymbolText(const QString& value) { FSymbolText = value; }

    // What the preview column shows for the face.
    QString TextFor(const catalogue::TFontItem& face) const;

private:
    std::vector<TFontListPreviewText> FTexts;
    int FSelectedIndex = 0;
    bool FUseSymbolText = true;
    QString FSymbolText;
};

} // namespace app
