#include "FontTable.h"

#include "FontException.h"

#include <algorithm>

namespace fontfile {

TFontTable::TFontTable(std::string tag) : FTag(std::move(tag)) {}

void TFontTable::Read(TFontStream&) {}

bool TFontTable::IsEmpty() const
{
    return false;
}

const std::string& TFontTable::CheckedTag(std::string_view className, std::string_view ownTag,
                                          const std::string& given)
{
    if (given != ownTag)
        throw FontException("Creating Fonttable " + std::string(className) + " with tag " + given);
    return given;
}

namespace {

// Byte-wise unsigned comparison, so that upper-case tags sort before lower-case ones.
bool TagLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

} // namespace

void TFontTables::Add(std::unique_ptr<TFontTable> table)
{
    if (Find(table->Tag()))
        throw FontException("Table " + table->Tag() + " already exists!");
    const auto before = std::find_if(FTables.begin(), FTables.end(),
                                     [&](const auto& existing) { return TagLess(table->Tag(), existing->Tag()); });
    FTables.insert(before, std::move(table));
}

TFontTable* TFontTables::Find(std::string_view tag) const
{
    for (const auto& table : FTables)
        if (table->Tag() == tag)
            return table.get();
    return nullptr;
}

} // namespace fontfile
