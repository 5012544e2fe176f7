#include "support/Win32ApiWide.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <set>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace support;

namespace {

QString FreshFolder(const char* name)
{
    const QString path = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + "/" + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void SetModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

bool IsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

TEST(PlatformFlags, NtFamilyOnly)
{
    EXPECT_TRUE(IsNTFamily());
    EXPECT_TRUE(IsWindows2000OrLater());
}

TEST(FileQueries, ExistsAndSize)
{
    const QString dir = FreshFolder("queries");
    WriteFile(dir + "/five.bin", "12345");
    WriteFile(dir + "/empty.bin", "");
    QDir().mkpath(dir + "/folder");
    ASSERT_EQ(::symlink("five.bin", QFile::encodeName(dir + "/link.bin").constData()), 0);
    ASSERT_EQ(::symlink("missing.bin", QFile::encodeName(dir + "/dangling.bin").constData()), 0);

    struct Case { QString name; bool file; bool folder; qint64 size; };
    const Case cases[] = {
        {dir + "/five.bin", true, false, 5},
        {dir + "/empty.bin", true, false, 0},
        {dir + "/folder", false, true, 0},
        {dir + "/link.bin", true, false, 5},
        {dir + "/dangling.bin", false, false, 0},
        {dir + "/missing.bin", false, false, -1},
        {dir + "/missing/five.bin", false, false, -1},
        {QString(), false, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(FileExistsWide(c.name), c.file);
        EXPECT_EQ(DirectoryExistsWide(c.name), c.folder);
        EXPECT_EQ(GetFileSizeWide(c.name), c.size);
    }
}

TEST(FileQueries, TouchSetsTheLastWriteTimeToNow)
{
    const QString dir = FreshFolder("touch");
    const QString file = dir + "/old.bin";
    WriteFile(file, "content");
    SetModified(file, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));

    EXPECT_TRUE(TouchFileWide(file));
    EXPECT_GT(QFileInfo(file).lastModified().date().year(), 2001);
    QFile read(file);
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    EXPECT_EQ(read.readAll(), QByteArray("content"));

    EXPECT_FALSE(TouchFileWide(dir + "/missing.bin"));
    EXPECT_FALSE(QFileInfo::exists(dir + "/missing.bin"));
    EXPECT_FALSE(TouchFileWide(dir));
}

TEST(SpecialFolders, KnownIdentifiersEndWithASeparatorUnknownAreEmpty)
{
    const auto& env = qmtest::IsolatedEnvironment::Global();
    EXPECT_EQ(GetSpecialFolderWide(CSIDL_COMMON_APPDATA).toStdString(), env.DataHome() + "/");
    EXPECT_EQ(GetSpecialFolderWide(CSIDL_FONTS).toStdString(), env.UserFontFolder() + "/");
    EXPECT_EQ(GetSpecialFolderWide(CSIDL_PERSONAL),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/");
    for (int unknown : {-1, 0, 7, 36, 9999})
        EXPECT_EQ(GetSpecialFolderWide(unknown), QString()) << unknown;
}

TEST(RemoteDrive, LocalFoldersAndNetworkTypes)
{
    const QString dir = FreshFolder("remote");
    EXPECT_FALSE(IsRemoteDrive(dir));
    EXPECT_FALSE(IsRemoteDrive(dir + "/not/yet/there.ttf"));
    EXPECT_FALSE(IsRemoteDrive(QString()));

    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse.sshfs", "9p", "afs"})
        EXPECT_TRUE(IsNetworkFileSystemType(type)) << type;
    for (const char* type : {"ext4", "btrfs", "xfs", "tmpfs", "overlay", "vfat", "fuse", ""})
        EXPECT_FALSE(IsNetworkFileSystemType(type)) << type;
}

TEST(Shortcuts, SymbolicLinksResolve)
{
    const QString dir = FreshFolder("shortcuts");
    WriteFile(dir + "/font.ttf", "font");
    WriteFile(dir + "/plain.lnk", "not a link");
    QDir().mkpath(dir + "/sub");
    const auto link = [&](const QString& target, const char* name) {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(dir + "/" + name).constData()), 0);
    };
    link("font.ttf", "relative.lnk");
    link(dir + "/font.ttf", "upper.LNK");
    link(dir + "/font.ttf", "any name");
    link("relative.lnk", "chain");
    link(dir + "/sub", "folder.lnk");
    link(dir + "/sub", "folder link");
    link(dir + "/gone.ttf", "dangling.lnk");
    link("loop-b", "loop-a");
    link("loop-a", "loop-b");

    struct Case { const char* name; bool resolved; QString target; };
    const Case cases[] = {
        {"relative.lnk", true, dir + "/font.ttf"},
        {"upper.LNK", true, dir + "/font.ttf"},
        {"any name", true, dir + "/font.ttf"},
        {"chain", true, dir + "/font.ttf"},
        {"folder.lnk", true, dir + "/sub"},
        {"folder link", false, {}},
        {"dangling.lnk", false, {}},
        {"loop-a", false, {}},
        {"plain.lnk", false, {}},
        {"font.ttf", false, {}},
        {"missing.lnk", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString target = QStringLiteral("untouched");
        EXPECT_EQ(ResolveShortcutWide(dir + "/" + c.name, target), c.resolved);
        EXPECT_EQ(target, c.resolved ? c.target : QStringLiteral("untouched"));
    }
}

namespace {

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = FreshFolder("search");
        WriteFile(FDir + "/A.TTF", "0123456789");
        WriteFile(FDir + "/b.ttf", "b");
        WriteFile(FDir + "/.hidden.ttf", "h");
        WriteFile(FDir + "/readme.txt", "r");
        WriteFile(FDir + "/ro.ttf", "ro");
        ASSERT_EQ(::chmod(QFile::encodeName(FDir + "/ro.ttf").constData(), 0444), 0);
        QDir().mkpath(FDir + "/sub.ttf");
        QDir().mkpath(FDir + "/.config");
        ASSERT_EQ(::symlink("nowhere.ttf", QFile::encodeName(FDir + "/gone.ttf").constData()), 0);
        ASSERT_EQ(::mkfifo(QFile::encodeName(FDir + "/pipe.ttf").constData(), 0600), 0);
    }

    std::set<std::string> Names(const QString& pattern, int attributes)
    {
        std::set<std::string> names;
        TSearchRecWide rec;
        for (int result = FindFirstWide(FDir + "/" + pattern, attributes, rec); result == 0; result = FindNextWide(rec))
            names.insert(rec.Name.toStdString());
        FindCloseWide(rec);
        return names;
    }

    QString FDir;
};

} // namespace

TEST_F(FileSearch, PatternsAndExcludedAttributes)
{
    using Names_t = std::set<std::string>;
    struct Case { const char* pattern; int attributes; Names_t expected; };
    const Case cases[] = {
        {"*.ttf", faArchive, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf"}},
        {"*.ttf", faReadOnly, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf"}},
        {"*.ttf", faHidden, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf", ".hidden.ttf"}},
        {"*.ttf", faDirectory, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf", "sub.ttf"}},
        {"*.TtF", faAnyFile, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf", "sub.ttf", ".hidden.ttf"}},
        {"*", 0, {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf", "readme.txt"}},
        {"*.*", faDirectory | faHidden,
         {"A.TTF", "b.ttf", "gone.ttf", "ro.ttf", "readme.txt", "sub.ttf", ".hidden.ttf", ".config"}},
        {"?.ttf", faAnyFile, {"A.TTF", "b.ttf"}},
        {"*e*", faAnyFile, {"gone.ttf", "readme.txt", ".hidden.ttf"}},
        {"b.ttf", 0, {"b.ttf"}},
        {"B.TTF", 0, {}},
        {"sub.ttf", 0, {}},
        {"sub.ttf", faDirectory, {"sub.ttf"}},
        {".config", faDirectory, {}},
        {"pipe.ttf", faAnyFile, {}},
        {"nothing*", faAnyFile, {}},
        {"", faAnyFile, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(c.pattern, c.attributes), c.expected) << c.pattern << " " << c.attributes;
}

TEST_F(FileSearch, EntryFieldsAndAttributes)
{
    const QDateTime written(QDate(2020, 6, 15), QTime(13, 45, 30));
    SetModified(FDir + "/A.TTF", written);

    TSearchRecWide rec;
    ASSERT_EQ(FindFirstWide(FDir + "/A.TTF", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "A.TTF");
    EXPECT_EQ(rec.Size, 10);
    EXPECT_EQ(rec.Attr, faArchive);
    const quint32 date = (40u << 9) | (6u << 5) | 15u;
    const quint32 time = (13u << 11) | (45u << 5) | 15u;
    EXPECT_EQ(rec.Time, (date << 16) | time);
    EXPECT_EQ(rec.FindData.FullPath, FDir + "/A.TTF");
    EXPECT_EQ(rec.FindData.LastWriteTime, written);
    EXPECT_EQ(FindNextWide(rec), ENOENT);
    FindCloseWide(rec);

    struct Case { const char* name; int attr; qint64 size; };
    const Case cases[] = {
        {"sub.ttf", faDirectory, 0},
        {".config", faDirectory | faHidden, 0},
        {".hidden.ttf", faArchive | faHidden, 1},
        {"gone.ttf", faArchive | faReadOnly, 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(FindFirstWide(FDir + "/" + c.name, faAnyFile, rec), 0) << c.name;
        EXPECT_EQ(rec.Attr & ~(IsRoot() ? faReadOnly : 0), c.attr & ~(IsRoot() ? faReadOnly : 0)) << c.name;
        EXPECT_EQ(rec.Size, c.size) << c.name;
    }
    if (!IsRoot()) {
        ASSERT_EQ(FindFirstWide(FDir + "/ro.ttf", faAnyFile, rec), 0);
        EXPECT_EQ(rec.Attr, faArchive | faReadOnly);
    }
    FindCloseWide(rec);
}

TEST_F(FileSearch, FailuresAndClosing)
{
    TSearchRecWide rec;
    EXPECT_EQ(FindFirstWide(FDir + "/missing/*", faAnyFile, rec), ENOENT);
    EXPECT_FALSE(rec.FindHandle);
    EXPECT_EQ(FindFirstWide(FDir + "/nothing*", faAnyFile, rec), ENOENT);
    EXPECT_FALSE(rec.FindHandle);
    EXPECT_EQ(FindNextWide(rec), EBADF);

    ASSERT_EQ(FindFirstWide(FDir + "/*", faAnyFile, rec), 0);
    EXPECT_TRUE(rec.FindHandle);
    FindCloseWide(rec);
    EXPECT_FALSE(rec.FindHandle);
    FindCloseWide(rec);
    EXPECT_EQ(FindNextWide(rec), EBADF);

    // A new search on an open record replaces the old one.
    ASSERT_EQ(FindFirstWide(FDir + "/*.txt", faAnyFile, rec), 0);
    ASSERT_EQ(FindFirstWide(FDir + "/?.ttf", 0, rec), 0);
    std::set<std::string> names{rec.Name.toStdString()};
    while (FindNextWide(rec) == 0)
        names.insert(rec.Name.toStdString());
    EXPECT_EQ(names, (std::set<std::string>{"A.TTF", "b.ttf"}));
}

TEST(FileDate, PackingAndRange)
{
    struct Case { QDateTime local; quint32 packed; };
    const Case cases[] = {
        {QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0)), 0x00210000u},
        {QDateTime(QDate(1979, 12, 31), QTime(23, 59, 59)), 0x00210000u},
        {QDateTime(QDate(2020, 6, 15), QTime(13, 45, 31)), (((40u << 9) | (6u << 5) | 15u) << 16) | (13u << 11) | (45u << 5) | 15u},
        {QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59)), (((127u << 9) | (12u << 5) | 31u) << 16) | (23u << 11) | (59u << 5) | 29u},
        {QDateTime(QDate(2200, 1, 1), QTime(0, 0, 0)), (((127u << 9) | (12u << 5) | 31u) << 16) | (23u << 11) | (59u << 5) | 29u},
        {QDateTime(), 0u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeToFileDate(c.local), c.packed) << c.local.toString().toStdString();

    const QDateTime even(QDate(2024, 2, 29), QTime(8, 30, 42));
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(even)), even);
    EXPECT_FALSE(FileDateToDateTime(0).isValid());
}
