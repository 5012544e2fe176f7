#pragma once

// The order of families and faces: names without regard to case, in the user's locale.

#include <QCollator>
#include <QString>

namespace catalogue {

class TFontItem;

// A case-insensitive collator of the user's locale. Not to be shared between threads.
class TFontCollator {
public:
    TFontCollator();
    int Compare(const QString& a, const QString& b) const { return FCollator.compare(a, b); }

private:
    QCollator FCollator;
};

// Negative, zero or positive.
int CompareFamilyNames(const TFontCollator& collator, const QString& a, const QString& b);
// Weight ascending, upright before italic, then the font file name.
int CompareFaces(const TFontCollator& collator, const TFontItem& a, const TFontItem& b);

} // namespace catalogue
