#include "GeneralFontInfo.h"

#include <algorithm>

namespace fontfile {

namespace {

// Control characters (category Cc) and the characters with the White_Space property. Only
// BMP code points can be either, so surrogates are never trimmed.
bool IsTrimmable(char16_t c)
{
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0))
        return true;
    switch (c) {
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

} // namespace

std::u16string TrimmedText(std::u16string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmable(text[first]))
        ++first;
    while (last > first && IsTrimmable(text[last - 1]))
        --last;
    return std::u16string(text.substr(first, last - first));
}

void TGeneralFontInfoItem::ApplyDerivedStyle()
{
    const bool bold = FWeightClass > 400;
    if (bold && FItalic)
        SetStyleName(u"Bold Italic");
    else if (bold)
        SetStyleName(u"Bold");
    else if (FItalic)
        SetStyleName(u"Italic");
    else {
        SetStyleName(u"Regular");
        FIsRegular = true;
    }
}

TGeneralFontInfoList::TGeneralFontInfoList(const TGeneralFontInfoList& other)
{
    FItems.reserve(other.FItems.size());
    for (const auto& item : other.FItems)
        FItems.push_back(std::make_unique<TGeneralFontInfoItem>(*item));
}

TGeneralFontInfoList& TGeneralFontInfoList::operator=(const TGeneralFontInfoList& other)
{
    if (this != &other) {
        TGeneralFontInfoList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TGeneralFontInfoItem& TGeneralFontInfoList::Add()
{
    FItems.push_back(std::make_unique<TGeneralFontInfoItem>());
    return *FItems.back();
}

TGeneralFontInfoItem& TGeneralFontInfoList::Add(const TGeneralFontInfoItem& item)
{
    FItems.push_back(std::make_unique<TGeneralFontInfoItem>(item));
    return *FItems.back();
}

void TGeneralFontInfoList::AppendAll(TGeneralFontInfoList&& other)
{
    if (&other == this)
        return;
    FItems.reserve(FItems.size() + other.FItems.size());
    for (auto& item : other.FItems)
        FItems.push_back(std::move(item));
    other.FItems.clear();
}

void TGeneralFontInfoList::RemoveDuplicateFaces()
{
    std::vector<std::unique_ptr<TGeneralFontInfoItem>> kept;
    kept.reserve(FItems.size());
    for (auto& item : FItems) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const auto& earlier) {
            return earlier->FamilyName() == item->FamilyName() && earlier->WeightClass() == item->WeightClass()
                && earlier->Italic() == item->Italic();
        });
        if (!seen)
            kept.push_back(std::move(item));
    }
    FItems = std::move(kept);
}

} // namespace fontfile
