#pragma once

// Folders of generated font files for the folder-scan tests, and one scan run with what it
// handed over.

#include "catalogue/BrowseFontsThreadUnit.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace browsetest {

// The program's text services (the name tables are read for the locale 0x0409), installed
// once for the test binary.
void UseProgramTextServices();

// A fresh, empty folder below the test's scratch folder.
QString FreshFolder(const QString& name);

// A TrueType file whose name table gives family and style; the full name is the two joined.
void WriteTrueType(const QString& path, const std::string& family, const std::string& style = "Regular");
// A collection of two faces of family ("Regular" and "Bold").
void WriteCollection(const QString& path, const std::string& family);
// A printer font metrics file for face, and an outline file that the pair check accepts.
void WritePfm(const QString& path, const std::string& face);
void WritePfb(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

struct TReportedFace {
    int Batch = 0;  // the number of the hand-over in the run, from 1
    QString FullName;
    QString FontFile;
    QString SecondFile;
    bool ViaShortcut = false;
    QString ShortcutPath;
};

struct TScanResult {
    std::vector<TReportedFace> Added;
    std::vector<TReportedFace> Removed;
    int Batches = 0;
    bool Finished = false;
    bool Completed = false;

    QStringList AddedNames() const;
    QStringList RemovedNames() const;
};

// One scan of folder on fileList; the test's event loop serves the hand-overs. With
// terminateOnFirstBatch the first handler marks the thread terminated.
TScanResult RunScan(catalogue::TFontFileList& fileList, const QString& folder, bool includeSubFolders, bool forget,
                    bool terminateOnFirstBatch = false);

} // namespace browsetest
