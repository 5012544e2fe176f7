#pragma once

// Font files the catalogue tests use: the system's own (a test skips when one is missing)
// and copies or damaged files made in the scratch folder.

#include "catalogue/FontItem.h"

#include <QString>

#include <memory>

namespace cataloguetest {

QString DejaVuSans();        // a TrueType font
QString DejaVuSansBold();
QString DejaVuSansMono();
QString Collection();        // a TrueType collection of two faces
QString CffOpenType();       // an OpenType font with PostScript outlines

// Copies file into a fresh scratch folder (outside every font folder) and answers the copy.
QString ScratchCopy(const QString& file, const QString& subfolder);
// A file with a font's extension and bytes no font engine can read.
QString DamagedFont(const QString& name);

// Open file descriptors of this process.
int OpenDescriptorCount();

// A face as the folder scan makes it: file, GDI type bits and kind of its record.
std::unique_ptr<catalogue::TFontItem> BrowseItem(const QString& family, const QString& file, int gdiTypeBits,
                                                 int kind, int weight = 400);

} // namespace cataloguetest
