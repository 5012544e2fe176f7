#include "GlobalFontManagerEx.h"

namespace catalogue {

namespace {

void RenameIn(TFontFileList& list, const QString& oldFile, const QString& oldSecondFile, const QString& newFile,
              const QString& newSecondFile)
{
    TFontFileItem* item = list.Find(oldFile);
    if (!item || item->SecondFile().compare(oldSecondFile, Qt::CaseInsensitive) != 0)
        return;
    if (oldFile != newFile && list.Contains(newFile))
        list.Remove(newFile);  // the renamed file replaced whatever was filed there
    list.Rename(oldFile, newFile);
    if (TFontFileItem* renamed = list.Find(newFile))
        renamed->SetSecondFile(newSecondFile);
}

} // namespace

TGlobalFontManagerEx& TGlobalFontManagerEx::Instance()
{
    static TGlobalFontManagerEx instance;
    return instance;
}

void TGlobalFontManagerEx::FileNameChanged(const QString& oldFile, const QString& oldSecondFile,
                                           const QString& newFile, const QString& newSecondFile)
{
    RenameIn(FBrowseFileList, oldFile, oldSecondFile, newFile, newSecondFile);
    RenameIn(FGroupFileList, oldFile, oldSecondFile, newFile, newSecondFile);
}

} // namespace catalogue
