#pragma once

// SFNT fonts for the reader tests, built on the shared SFNT builder: a small but complete
// face whose tables a test adds to or spoils.

#include "SfntBuilder.h"

#include <string>

namespace qmtest {

struct TFaceNames {
    std::u16string Family = u"Test Sans";
    std::u16string Style = u"Regular";
    std::u16string Full = u"Test Sans Regular";
    std::u16string PostScript = u"TestSans-Regular";
};

inline sfnttest::TByteVector NameTable(const TFaceNames& names = {})
{
    sfnttest::TNameTableBuilder table;
    table.Win(0x0409, 1, names.Family).Win(0x0409, 2, names.Style);
    if (!names.Full.empty())
        table.Win(0x0409, 4, names.Full);
    table.Win(0x0409, 6, names.PostScript);
    return table.Build();
}

// "head", "hhea", "maxp", "name", "OS/2" and "post": six tables, enough for any extension.
inline sfnttest::TSfntBuilder StandardFont(std::uint32_t sfntVersion = sfnttest::kSfntVersionTrueType)
{
    sfnttest::TSfntBuilder font(sfntVersion);
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("hhea", sfnttest::TByteVector(36, 0));
    font.Table("maxp", sfnttest::TByteVector(6, 0));
    font.Table("name", NameTable());
    font.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    font.Table("post", sfnttest::TByteVector(32, 0));
    return font;
}

} // namespace qmtest
