#include "support/FontHelper.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using support::TFontHelper;

namespace {

const QString kDejaVuFolder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");

QString UserFontFolder()
{
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().UserFontFolder());
}

// Copies a system font into the isolated user font folder, with every "DejaVu Sans" of its
// name table (Macintosh and Windows records) replaced by a family name of the same length
// that no system font has, so that only the copy can answer for it.
QString RenamedFontFolder()
{
    return UserFontFolder() + "/renamed";
}

bool InstallRenamedCopy(const QString& systemFile, const QByteArray& family)
{
    QFile in(kDejaVuFolder + systemFile);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = in.readAll();
    const QByteArray original("DejaVu Sans");
    Q_ASSERT(family.size() == original.size());
    const auto utf16be = [](const QByteArray& latin) {
        QByteArray wide;
        for (char c : latin)
            wide.append('\0').append(c);
        return wide;
    };
    bytes.replace(original, family);
    bytes.replace(utf16be(original), utf16be(family));

    QDir().mkpath(RenamedFontFolder());
    QFile out(RenamedFontFolder() + "/" + QString::fromLatin1(family) + "-" + systemFile);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

bool CopyIntoUserFolder(const QString& systemFile)
{
    QDir().mkpath(UserFontFolder());
    const QString target = UserFontFolder() + "/" + systemFile;
    return QFileInfo::exists(target) || QFile::copy(kDejaVuFolder + systemFile, target);
}

} // namespace

TEST(FontHelper, RegistryKeyPathsAreTheNtForms)
{
    EXPECT_EQ(TFontHelper::FontsRegistryKeyPath(), "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    EXPECT_EQ(TFontHelper::Type1FontsRegistryKeyPath(),
              "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts");
}

TEST(FontHelper, StyleCheckOfInstalledDejaVu)
{
    if (!QFileInfo::exists(kDejaVuFolder + "DejaVuSans.ttf") || !QFileInfo::exists(kDejaVuFolder + "DejaVuSans-Bold.ttf"))
        GTEST_SKIP() << "DejaVu Sans is not installed";
    ASSERT_TRUE(CopyIntoUserFolder("DejaVuSans.ttf"));
    ASSERT_TRUE(CopyIntoUserFolder("DejaVuSans-Bold.ttf"));
    EXPECT_TRUE(TFontHelper::HasFontStyle("DejaVu Sans", false, false));
    EXPECT_TRUE(TFontHelper::HasFontStyle("DejaVu Sans", true, false));
    // Family names are compared without regard to case.
    EXPECT_TRUE(TFontHelper::HasFontStyle("dejavu sans", false, false));
}

TEST(FontHelper, StyleCheckSeesFontsInstalledWhileRunning)
{
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf"})
        if (!QFileInfo::exists(kDejaVuFolder + file))
            GTEST_SKIP() << file << " is not installed";
    const QByteArray familyBytes("Quillmark T");
    const QString family = QString::fromLatin1(familyBytes);
    QDir(RenamedFontFolder()).removeRecursively();

    EXPECT_FALSE(TFontHelper::HasFontStyle(family, false, false));

    ASSERT_TRUE(InstallRenamedCopy("DejaVuSans.ttf", familyBytes));
    EXPECT_TRUE(TFontHelper::HasFontStyle(family, false, false));
    EXPECT_FALSE(TFontHelper::HasFontStyle(family, true, false));
    EXPECT_FALSE(TFontHelper::HasFontStyle(family, false, true));

    ASSERT_TRUE(InstallRenamedCopy("DejaVuSans-Bold.ttf", familyBytes));
    ASSERT_TRUE(InstallRenamedCopy("DejaVuSans-Oblique.ttf", familyBytes));
    struct Case { bool bold; bool italic; bool expected; };
    const Case cases[] = {{false, false, true}, {true, false, true}, {false, true, true}, {true, true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(TFontHelper::HasFontStyle(family, c.bold, c.italic), c.expected) << c.bold << c.italic;

    // Removed again, the family is gone at once.
    QDir(RenamedFontFolder()).removeRecursively();
    EXPECT_FALSE(TFontHelper::HasFontStyle(family, false, false));
}

TEST(FontHelper, StyleCheckOfUnknownOrEmptyNamesIsFalse)
{
    EXPECT_FALSE(TFontHelper::HasFontStyle(QString(), false, false));
    EXPECT_FALSE(TFontHelper::HasFontStyle("No Such Family Anywhere", false, false));
}

TEST(FontHelper, MissingProgramDocumentIsNotOpened)
{
    EXPECT_FALSE(TFontHelper::OpenProgramDocument("help/no-such-manual.html"));
    EXPECT_FALSE(TFontHelper::OpenProgramDocument("help\\no-such-manual.html"));
    EXPECT_FALSE(TFontHelper::OpenProgramDocument(QString()));
}
