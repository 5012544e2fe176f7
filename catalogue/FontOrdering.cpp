#include "FontOrdering.h"

#include "FontItem.h"

#include <QLocale>

namespace catalogue {

TFontCollator::TFontCollator()
    : FCollator(QLocale())
{
    FCollator.setCaseSensitivity(Qt::CaseInsensitive);
}

int CompareFamilyNames(const TFontCollator& collator, const QString& a, const QString& b)
{
    return collator.Compare(a, b);
}

int CompareFaces(const TFontCollator& collator, const TFontItem& a, const TFontItem& b)
{
    if (a.Weight() != b.Weight())
        return a.Weight() < b.Weight() ? -1 : 1;
    if (a.Italic() != b.Italic())
        return a.Italic() ? 1 : -1;
    return collator.Compare(a.FontFile(), b.FontFile());
}

} // namespace catalogue
