#pragma once

// The file lists of the folder scans, kept from program start to end: every file the Browse
// scans found and every file of the selected group's folder, each with its faces.

#include "catalogue/FontFamilyList.h"
#include "catalogue/FontFileList.h"

#include <QString>

namespace catalogue {

class TGlobalFontManagerEx {
public:
    TGlobalFontManagerEx() = default;
    TGlobalFontManagerEx(const TGlobalFontManagerEx&) = delete;
    TGlobalFontManagerEx& operator=(const TGlobalFontManagerEx&) = delete;

    // The process-wide instance.
    static TGlobalFontManagerEx& Instance();

    TFontFileList& BrowseFileList() { return FBrowseFileList; }
    TFontFileList& GroupFileList() { return FGroupFileList; }

    // After a rename: in both lists, an entry of oldFile whose second file equals
    // oldSecondFile (without regard to case) takes the new files and is filed under newFile.
    void FileNameChanged(const QString& oldFile, const QString& oldSecondFile, const QString& newFile,
                         const QString& newSecondFile);

private:
    TFontFileList FBrowseFileList;
    TFontFileList FGroupFileList;
    TFontFamilyList FFamilies;  // kept empty
};

} // namespace catalogue
