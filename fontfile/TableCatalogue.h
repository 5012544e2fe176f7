#pragma once

// The known SFNT table tags: a kind number for dispatching and a description for the user.
// Tags compare exactly (case-sensitive, trailing blanks count); unknown tags have kind 0 and
// an empty description.

#include <string>
#include <string_view>

namespace fontfile {

// The kinds the readers dispatch on.
constexpr int kTableKindUnknown = 0;
constexpr int kTableKindHead = 6;
constexpr int kTableKindKern = 9;
constexpr int kTableKindMaxp = 11;
constexpr int kTableKindName = 12;
constexpr int kTableKindPost = 13;
constexpr int kTableKindOS2 = 18;
constexpr int kTableKindCFF = 19;
constexpr int kTableKindDSIG = 29;

int TableKind(std::string_view tag);
std::string TableDescription(std::string_view tag);

// Number of catalogue rows, for tests.
std::size_t TableCatalogueSize();

} // namespace fontfile
