#pragma once

// quillmark-cli info --details: the catalogue's view of a face, read through the font engine
// as the Browse list reads it (a face of the read request, referenced while its details are
// read).

#include "JsonLine.h"

#include "fontfile/GeneralFontInfo.h"

#include <QString>

namespace cli {

// faceIndex: the face's place in its file's read result.
void AddDetailsFields(TJsonLine& line, const QString& file, const QString& secondFile,
                      const fontfile::TGeneralFontInfoItem& record, int faceIndex);

} // namespace cli
