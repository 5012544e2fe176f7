#pragma once

// The JSON form of the records the font readers give: the fourteen fields of a face and the
// extended information, under the names of the record's fields.

#include "JsonLine.h"

#include "fontfile/ExtendedFontInfo.h"
#include "fontfile/GeneralFontInfo.h"

namespace cli {

void AddFaceFields(TJsonLine& line, const fontfile::TGeneralFontInfoItem& item);
// TableList and KerningPairs; CopyrightNotice as well when withCopyright.
void AddExtendedFields(TJsonLine& line, const fontfile::TExtendedFontInfoRecord& record, bool withCopyright);

} // namespace cli
