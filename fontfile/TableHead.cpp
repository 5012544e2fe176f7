#include "TableHead.h"

#include "StreamReaders.h"

namespace fontfile {

TTableHead::TTableHead(const std::string& tag) : TFontTable(CheckedTag("TTableHead", "head", tag)) {}

void TTableHead::Read(TFontStream& stream)
{
    FVersion = be::ReadFixed(stream);
    FFontRevision = be::ReadFixed(stream);
    FCheckSumAdjustment = be::ReadUInt32(stream);
    FMagicNumber = be::ReadUInt32(stream);
    FFlags = be::ReadUInt16(stream);
    FUnitsPerEm = be::ReadUInt16(stream);
    FCreated = be::ReadLongDateTime(stream);
    FModified = be::ReadLongDateTime(stream);
    FXMin = be::ReadInt16(stream);
    FYMin = be::ReadInt16(stream);
    FXMax = be::ReadInt16(stream);
    FYMax = be::ReadInt16(stream);
    FMacStyle = be::ReadUInt16(stream);
    FLowestRecPPEM = be::ReadUInt16(stream);
    FFontDirectionHint = be::ReadInt16(stream);
    FIndexToLocFormat = be::ReadInt16(stream);
    FGlyphDataFormat = be::ReadInt16(stream);
}

} // namespace fontfile
