// One table reader on a memory buffer holding only that table, as the catalogue reads the
// tables it fetched from the font engine. The build names the table (QUILLMARK_FUZZ_TABLE).

#include "FuzzSupport.h"

#include "fontfile/GeneralFontInfo.h"
#include "fontfile/TableHead.h"
#include "fontfile/TableKern.h"
#include "fontfile/TableMaxp.h"
#include "fontfile/TableName.h"
#include "fontfile/TableOS_2.h"
#include "fontfile/TablePost.h"

#include <string_view>

namespace {

constexpr std::string_view kTable = QUILLMARK_FUZZ_TABLE;
static_assert(kTable == "name" || kTable == "OS/2" || kTable == "head" || kTable == "maxp" || kTable == "post" ||
                  kTable == "kern",
              "QUILLMARK_FUZZ_TABLE names no table reader");

// Reads the table and uses what the program uses of it.
void ReadTable(fontfile::TFontStream& stream)
{
    if constexpr (kTable == "name") {
        fontfile::TTableName table;
        table.Read(stream);
        // The face full name comes from another name ID for PostScript outlines.
        fontfile::TGeneralFontInfoItem trueType, postScript;
        trueType.SetFontKind(fontfile::FontKind::TrueType);
        postScript.SetFontKind(fontfile::FontKind::OpenTypePostScript);
        table.FillGeneralNames(trueType);
        table.FillGeneralNames(postScript);
        (void)table.FillAdditionalNames();
    } else if constexpr (kTable == "OS/2") {
        fontfile::TTableOS_2 table;
        table.Read(stream);
        fontfile::TGeneralFontInfoItem item;
        table.ApplyTo(item);
        if (table.Version() >= 1)
            (void)(table.UlCodePageRange1() + table.UlCodePageRange2());
    } else if constexpr (kTable == "head") {
        fontfile::TTableHead table;
        table.Read(stream);
    } else if constexpr (kTable == "maxp") {
        fontfile::TTableMaxp table;
        table.Read(stream);
    } else if constexpr (kTable == "post") {
        fontfile::TTablePost table;
        table.Read(stream);
        // One past the end as well: a glyph without a name reads as an empty name.
        for (std::size_t glyph = 0; glyph <= table.GlyphNameCount(); ++glyph)
            (void)table.GlyphName(glyph);
    } else if constexpr (kTable == "kern") {
        fontfile::TTableKern table;
        table.Read(stream);
        (void)table.IsEmpty();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    (void)servicesReady;

    fontfile::TMemoryFontStream stream(data, size);
    qmfuzz::IgnoringFontErrors([&] { ReadTable(stream); });
    return 0;
}
