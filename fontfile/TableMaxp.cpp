#include "TableMaxp.h"

#include "FontException.h"
#include "StreamReaders.h"

namespace fontfile {

TTableMaxp::TTableMaxp(const std::string& tag) : TFontTable(CheckedTag("TTableMaxp", "maxp", tag)) {}

void TTableMaxp::Read(TFontStream& stream)
{
    FVersionMajor = be::ReadUInt16(stream);
    FVersionMinor = be::ReadUInt16(stream);
    FNumGlyphs = be::ReadUInt16(stream);
    // Version 0.5 (compact-font-format outlines) ends here; its minor half is not examined.
    if (FVersionMajor == 0)
        return;
    if (FVersionMajor != 1)
        throw FontException("Unknown maxp table version (" + std::to_string(FVersionMajor) + "," +
                            std::to_string(FVersionMinor) + ")");
    FMaxPoints = be::ReadUInt16(stream);
    FMaxContours = be::ReadUInt16(stream);
    FMaxCompositePoints = be::ReadUInt16(stream);
    FMaxCompositeContours = be::ReadUInt16(stream);
    FMaxZones = be::ReadUInt16(stream);
    FMaxTwilightPoints = be::ReadUInt16(stream);
    FMaxStorage = be::ReadUInt16(stream);
    FMaxFunctionDefs = be::ReadUInt16(stream);
    FMaxInstructionDefs = be::ReadUInt16(stream);
    FMaxStackElements = be::ReadUInt16(stream);
    FMaxSizeOfInstructions = be::ReadUInt16(stream);
    FMaxComponentElements = be::ReadUInt16(stream);
    FMaxComponentDepth = be::ReadUInt16(stream);
}

} // namespace fontfile
