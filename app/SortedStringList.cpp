#include "SortedStringList.h"

#include <algorithm>

namespace app {

bool TSortedStringList::Add(const QString& text)
{
    const auto place = std::lower_bound(FItems.begin(), FItems.end(), text);
    if (place != FItems.end() && *place == text)
        return false;
    FItems.insert(place, text);
    return true;
}

bool TSortedStringList::Contains(const QString& text) const
{
    return std::binary_search(FItems.cbegin(), FItems.cend(), text);
}

} // namespace app
