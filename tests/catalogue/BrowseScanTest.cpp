// The folder scan on folders of generated font files: what a fresh scan reports, what a rescan
// of the same file list reports after files came, went or changed, Type 1 pairs across two
// folders, symbolic links, sub-folders, and the end of a stopped scan.

#include "BrowseTestFolders.h"

#include "catalogue/BrowseFontsThreadUnit.h"
#include "catalogue/FontFileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace browsetest;
using catalogue::TFontFileList;

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

const TReportedFace* FaceNamed(const std::vector<TReportedFace>& faces, const QString& fullName)
{
    const auto found = std::find_if(faces.begin(), faces.end(),
                                    [&](const TReportedFace& face) { return face.FullName == fullName; });
    return found == faces.end() ? nullptr : &*found;
}

TEST(BrowseScan, FreshScanReportsEveryFaceOfTheFolder)
{
    const QString folder = FreshFolder(QStringLiteral("browse-fresh"));
    WriteTrueType(folder + "/alpha.ttf", "Alpha Test");
    WriteTrueType(folder + "/.hidden.ttf", "Hidden Test", "Bold");
    WriteCollection(folder + "/pair.ttc", "Gamma Test");
    WriteBytes(folder + "/notes.txt", "not a font");
    // Unreadable, but named like a font: a placeholder face.
    WriteBytes(folder + "/broken.TTF", QByteArray(300, 'x'));
    // A pipe named like a font is no file: reading it would wait for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/pipe.ttf").constData(), 0600), 0);
    QDir(folder).mkdir(QStringLiteral("sub"));
    WriteTrueType(folder + "/sub/deep.ttf", "Deep Test");

    TFontFileList files;
    const TScanResult run = RunScan(files, folder, false, true);
    EXPECT_TRUE(run.Finished);
    EXPECT_TRUE(run.Completed);
    EXPECT_TRUE(run.Removed.empty());
    EXPECT_EQ(Sorted(run.AddedNames()), Sorted({"", "Alpha Test Regular", "Gamma Test Bold", "Gamma Test Regular",
                                                "Hidden Test Bold"}));
    const TReportedFace* alpha = FaceNamed(run.Added, QStringLiteral("Alpha Test Regular"));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->FontFile, folder + "/alpha.ttf");
    EXPECT_TRUE(alpha->SecondFile.isEmpty());
    EXPECT_FALSE(alpha->ViaShortcut);
    const TReportedFace* placeholder = FaceNamed(run.Added, QString());
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->FontFile, folder + "/broken.TTF");
    // Files without faces are not kept: the text file is read again by the next scan.
    EXPECT_EQ(Sorted(files.Paths()), Sorted({folder + "/.hidden.ttf", folder + "/alpha.ttf", folder + "/broken.TTF",
                                             folder + "/pair.ttc"}));

    // The same folder with its sub-folders: only the new file is reported.
    const TScanResult recursive = RunScan(files, folder, true, false);
    EXPECT_EQ(recursive.AddedNames(), QStringList{"Deep Test Regular"});
    EXPECT_TRUE(recursive.Removed.empty());
}

TEST(BrowseScan, RescanReportsOnlyWhatCameWentOrChanged)
{
    const QString folder = FreshFolder(QStringLiteral("browse-rescan"));
    WriteTrueType(folder + "/keep.ttf", "Keep Test");
    WriteTrueType(folder + "/gone.ttf", "Gone Test");
    WriteTrueType(folder + "/change.ttf", "Before Test");
    TFontFileList files;
    ASSERT_EQ(RunScan(files, folder, false, true).Added.size(), 3u);

    // Another program deletes one file, replaces another and adds a third.
    ASSERT_TRUE(QFile::remove(folder + "/gone.ttf"));
    // The longer style name changes the size, so the change shows even within the file
    // system's time resolution.
    WriteTrueType(folder + "/change.ttf", "After Test", "Bold Italic");
    WriteTrueType(folder + "/new.ttf", "New Test");
    const TScanResult rescan = RunScan(files, folder, false, false);
    EXPECT_TRUE(rescan.Completed);
    EXPECT_EQ(Sorted(rescan.RemovedNames()), Sorted({"Before Test Regular", "Gone Test Regular"}));
    EXPECT_EQ(Sorted(rescan.AddedNames()), Sorted({"After Test Bold Italic", "New Test Regular"}));
    const TReportedFace* gone = FaceNamed(rescan.Removed, QStringLiteral("Gone Test Regular"));
    ASSERT_NE(gone, nullptr);
    EXPECT_EQ(gone->FontFile, folder + "/gone.ttf");
    // Removals reach the receiver before additions.
    for (const TReportedFace& removed : rescan.Removed)
        for (const TReportedFace& added : rescan.Added)
            EXPECT_LE(removed.Batch, added.Batch);

    // Nothing changed since: nothing to report.
    const TScanResult quiet = RunScan(files, folder, false, false);
    EXPECT_TRUE(quiet.Added.empty());
    EXPECT_TRUE(quiet.Removed.empty());
    EXPECT_EQ(quiet.Batches, 0);

    // Forgetting the list reports every file again.
    EXPECT_EQ(RunScan(files, folder, false, true).Added.size(), 3u);
}

TEST(BrowseScan, Type1PairAcrossTwoFolders)
{
    // The metrics file in a sub-folder, its outline file in the folder above.
    const QString folder = FreshFolder(QStringLiteral("browse-type1"));
    QDir(folder).mkdir(QStringLiteral("PFM"));
    WritePfm(folder + "/PFM/serif.pfm", "Pair Serif");
    WritePfb(folder + "/serif.pfb");

    TFontFileList files;
    // The outline file alone yields nothing.
    EXPECT_TRUE(RunScan(files, folder, false, true).Added.empty());

    const TScanResult run = RunScan(files, folder, true, true);
    ASSERT_EQ(run.Added.size(), 1u);
    EXPECT_EQ(run.Added[0].FontFile, folder + "/PFM/serif.pfm");
    EXPECT_EQ(run.Added[0].SecondFile, folder + "/serif.pfb");
    EXPECT_EQ(files.Paths(), QStringList{folder + "/PFM/serif.pfm"});

    // Losing the outline file loses the face.
    ASSERT_TRUE(QFile::remove(folder + "/serif.pfb"));
    const TScanResult rescan = RunScan(files, folder, true, false);
    ASSERT_EQ(rescan.Removed.size(), 1u);
    EXPECT_EQ(rescan.Removed[0].FontFile, folder + "/PFM/serif.pfm");
    EXPECT_EQ(rescan.Removed[0].SecondFile, folder + "/serif.pfb");
}

TEST(BrowseScan, SymbolicLinksAreShortcuts)
{
    const QString elsewhere = FreshFolder(QStringLiteral("browse-link-target"));
    const QString folder = FreshFolder(QStringLiteral("browse-links"));
    WriteTrueType(elsewhere + "/target.ttf", "Linked Test");
    ASSERT_TRUE(QFile::link(elsewhere + "/target.ttf", folder + "/shortcut.ttf"));
    // Whatever its name, and a link that leads nowhere is no font.
    ASSERT_TRUE(QFile::link(elsewhere + "/target.ttf", folder + "/shortcut-without-extension"));
    ASSERT_TRUE(QFile::link(elsewhere + "/missing.ttf", folder + "/dangling.ttf"));

    TFontFileList files;
    const TScanResult run = RunScan(files, folder, false, true);
    ASSERT_EQ(run.Added.size(), 2u);
    for (const TReportedFace& face : run.Added) {
        EXPECT_EQ(face.FullName, "Linked Test Regular");
        EXPECT_EQ(face.FontFile, QFileInfo(elsewhere + "/target.ttf").canonicalFilePath());
        EXPECT_TRUE(face.ViaShortcut);
    }
    EXPECT_EQ(Sorted({run.Added[0].ShortcutPath, run.Added[1].ShortcutPath}),
              Sorted({folder + "/shortcut.ttf", folder + "/shortcut-without-extension"}));
    // Filed under the links, not under their common target.
    EXPECT_EQ(Sorted(files.Paths()), Sorted({folder + "/shortcut.ttf", folder + "/shortcut-without-extension"}));

    // One link removed: its entry goes. The target removed: the other link leads nowhere and
    // its face goes as well.
    ASSERT_TRUE(QFile::remove(folder + "/shortcut-without-extension"));
    const TScanResult linkGone = RunScan(files, folder, false, false);
    ASSERT_EQ(linkGone.Removed.size(), 1u);
    EXPECT_FALSE(linkGone.Removed[0].ViaShortcut);
    EXPECT_EQ(files.Paths(), QStringList{folder + "/shortcut.ttf"});
    ASSERT_TRUE(QFile::remove(elsewhere + "/target.ttf"));
    const TScanResult targetGone = RunScan(files, folder, false, false);
    EXPECT_EQ(targetGone.RemovedNames(), QStringList{"Linked Test Regular"});
    EXPECT_TRUE(targetGone.Added.empty());
    EXPECT_EQ(files.Count(), 0);
}

TEST(BrowseScan, SubFoldersDepthFirstAfterTheFolderItself)
{
    const QString folder = FreshFolder(QStringLiteral("browse-depth"));
    QDir(folder).mkpath(QStringLiteral("a/inner"));
    QDir(folder).mkpath(QStringLiteral("b"));
    QDir(folder).mkpath(QStringLiteral(".hidden"));
    WriteTrueType(folder + "/z-top.ttf", "Top Test");
    WriteTrueType(folder + "/a/inner/inner.ttf", "Inner Test");
    WriteTrueType(folder + "/a/a.ttf", "A Test");
    WriteTrueType(folder + "/b/b.ttf", "B Test");
    WriteTrueType(folder + "/.hidden/hidden.ttf", "Hidden Folder Test");
    // A link back to the folder itself is not followed round for ever.
    ASSERT_TRUE(QFile::link(folder, folder + "/a/loop"));

    TFontFileList files;
    const TScanResult run = RunScan(files, folder, true, true);
    EXPECT_TRUE(run.Completed);
    EXPECT_EQ(run.AddedNames(), (QStringList{"Top Test Regular", "A Test Regular", "Inner Test Regular",
                                             "B Test Regular"}));
}

TEST(BrowseScan, FolderThatCannotBeReadYieldsNothing)
{
    TFontFileList files;
    const TScanResult missing = RunScan(files, FreshFolder("browse-missing") + "/none", true, true);
    EXPECT_TRUE(missing.Completed);
    EXPECT_TRUE(missing.Added.empty());
    // An empty folder text scans nothing but still removes vanished entries.
    const QString folder = FreshFolder(QStringLiteral("browse-empty-text"));
    WriteTrueType(folder + "/a.ttf", "Empty Text Test");
    ASSERT_EQ(RunScan(files, folder, false, true).Added.size(), 1u);
    ASSERT_TRUE(QFile::remove(folder + "/a.ttf"));
    EXPECT_EQ(RunScan(files, QString(), false, false).RemovedNames(), QStringList{"Empty Text Test Regular"});
}

TEST(BrowseScan, TerminatedScanDeliversNothingMore)
{
    const QString folder = FreshFolder(QStringLiteral("browse-stop"));
    WriteTrueType(folder + "/first.ttf", "First Test");
    TFontFileList files;
    ASSERT_EQ(RunScan(files, folder, false, true).Added.size(), 1u);
    ASSERT_TRUE(QFile::remove(folder + "/first.ttf"));
    for (int i = 0; i < 20; ++i)
        WriteTrueType(folder + QStringLiteral("/later%1.ttf").arg(i), "Later Test", "Style" + std::to_string(i));

    // The removed batch comes first; terminated in its handler, the added faces never arrive.
    const TScanResult run = RunScan(files, folder, false, false, true);
    EXPECT_EQ(run.Batches, 1);
    EXPECT_EQ(run.RemovedNames(), QStringList{"First Test Regular"});
    EXPECT_TRUE(run.Added.empty());
    EXPECT_TRUE(run.Finished);
    EXPECT_FALSE(run.Completed);
}

TEST(BrowseScan, CreatingAThreadSetsTheLastScannedFolder)
{
    TFontFileList files;
    catalogue::SetLastScannedFolder(QString());
    {
        catalogue::TBrowseFontsThread thread(files, false, QStringLiteral("/some/folder"));
        EXPECT_EQ(catalogue::LastScannedFolder(), "/some/folder");
    }
    catalogue::SetLastScannedFolder(QString());
    EXPECT_TRUE(catalogue::LastScannedFolder().isEmpty());
}

} // namespace
