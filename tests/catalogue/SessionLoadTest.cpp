// Loading for the session and unloading, as another program sees it: a separate fc-list
// process in the isolated environment of the tests.

#include "CatalogueTestFonts.h"
#include "IsolatedEnvironment.h"

#include "catalogue/FontItem.h"
#include "platform/FileUnderOperation.h"
#include "platform/FontEngine.h"
#include "platform/Places.h"
#include "platform/SessionFonts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using namespace cataloguetest;

// The font files a new process running fc-list sees.
QStringList ListedFiles()
{
    QProcess process;
    process.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("file")});
    if (!process.waitForFinished(120000))
        return {};
    QStringList files;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString file = line.trimmed();
        if (file.endsWith(QLatin1Char(':')))
            file.chop(1);
        files << file;
    }
    return files;
}

// The files fc-list shows that are file (itself or a link to it).
int ListedCopies(const QString& file)
{
    const QString target = QFileInfo(file).canonicalFilePath();
    int count = 0;
    for (const QString& listed : ListedFiles())
        count += QFileInfo(listed).canonicalFilePath() == target ? 1 : 0;
    return count;
}

class SessionLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("fc-list")).isEmpty())
            GTEST_SKIP() << "fc-list is not installed";
        if (!QFileInfo::exists(DejaVuSans()))
            GTEST_SKIP() << "missing " << DejaVuSans().toStdString();
        // Every test starts as after a login.
        QDir(platform::places::SessionFolder()).removeRecursively();
    }
};

TEST_F(SessionLoad, ALoadedFontIsSeenByOtherProgramsUntilItIsUnloaded)
{
    const QString copy = ScratchCopy(DejaVuSans(), QStringLiteral("load"));
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), copy, 4, 5);
    ASSERT_EQ(ListedCopies(copy), 0);
    // A private load is for this program's own drawing: no other program sees it.
    item->SetRefCount(1);
    ASSERT_TRUE(item->PrivatelyLoaded());
    EXPECT_EQ(ListedCopies(copy), 0);
    item->SetRefCount(0);

    EXPECT_TRUE(item->LoadFont());
    EXPECT_TRUE(QFileInfo::exists(platform::TSessionFonts::IncludeFilePath()));
    EXPECT_TRUE(platform::TSessionFonts::IncludeFilePath().startsWith(
        QString::fromStdString(qmtest::IsolatedEnvironment::Global().ConfigHome())));
    EXPECT_EQ(ListedCopies(copy), 1);
    const QStringList links = QDir(platform::places::SessionFontFolder()).entryList(QDir::Files | QDir::System);
    EXPECT_EQ(links, QStringList{QStringLiteral("DejaVuSans.ttf")});

    const catalogue::TUnloadResult result = item->UnloadFont();
    EXPECT_TRUE(result.Success);
    EXPECT_TRUE(result.FailureText.isEmpty());
    EXPECT_EQ(ListedCopies(copy), 0);
    EXPECT_TRUE(QFileInfo::exists(copy));  // the user's file stays
}

TEST_F(SessionLoad, EveryAdditionNeedsItsRemoval)
{
    const QString copy = ScratchCopy(DejaVuSans(), QStringLiteral("three"));
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), copy, 4, 5);
    platform::TFontEngine& engine = platform::FontEngine();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(engine.AddSessionFont(copy), 1);
    EXPECT_EQ(ListedCopies(copy), 1);  // added three times, listed once
    EXPECT_TRUE(engine.RemoveSessionFont(copy));
    EXPECT_EQ(ListedCopies(copy), 1);  // two additions remain

    EXPECT_TRUE(item->LoadFont());
    EXPECT_TRUE(item->UnloadFont().Success);  // removes all that are left
    EXPECT_EQ(ListedCopies(copy), 0);
    EXPECT_FALSE(engine.RemoveSessionFont(copy));
}

TEST_F(SessionLoad, AnUnloadedInstalledFontIsInactiveUntilTheNextLogin)
{
    const QString installed = QString::fromStdString(qmtest::IsolatedEnvironment::Global().UserFontFolder())
                              + QStringLiteral("/DejaVuSans-Installed.ttf");
    QDir().mkpath(QFileInfo(installed).absolutePath());
    QFile::remove(installed);
    ASSERT_TRUE(QFile::copy(DejaVuSans(), installed));
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), installed, 4, 5);
    item->SetStatusFlags(catalogue::FontStatus::Installed);
    ASSERT_EQ(ListedCopies(installed), 1);

    EXPECT_TRUE(item->UnloadFont().Success);
    EXPECT_EQ(ListedCopies(installed), 0);
    EXPECT_FALSE(platform::FontEngine().RemoveSessionFont(installed));  // nothing more to remove

    // Loading it again makes it active again, unloading inactive again.
    EXPECT_TRUE(item->LoadFont());
    EXPECT_EQ(ListedCopies(installed), 1);
    EXPECT_TRUE(item->UnloadFont().Success);
    EXPECT_EQ(ListedCopies(installed), 0);

    // Logging out empties the session folder.
    QDir(platform::places::SessionFolder()).removeRecursively();
    EXPECT_EQ(ListedCopies(installed), 1);
    QFile::remove(installed);
}

TEST_F(SessionLoad, FacesAddedAndRefusals)
{
    platform::TFontEngine& engine = platform::FontEngine();
    if (QFileInfo::exists(Collection())) {
        const QString copy = ScratchCopy(Collection(), QStringLiteral("collection"));
        EXPECT_EQ(engine.AddSessionFont(copy), 2);
        EXPECT_EQ(ListedCopies(copy), 1);  // fc-list names each file once
        EXPECT_TRUE(engine.RemoveSessionFont(copy));
        EXPECT_EQ(ListedCopies(copy), 0);
    }
    const QString damaged = DamagedFont(QStringLiteral("NotAFont.ttf"));
    EXPECT_EQ(engine.AddSessionFont(damaged), 0);
    EXPECT_EQ(engine.AddSessionFont(QStringLiteral("/nonexistent/quillmark.ttf")), 0);

    const QString copy = ScratchCopy(DejaVuSans(), QStringLiteral("marked"));
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), copy, 4, 5);
    {
        const platform::TFileUnderOperationScope mark(copy);
        EXPECT_FALSE(item->LoadFont());
    }
    EXPECT_EQ(ListedCopies(copy), 0);
}

TEST_F(SessionLoad, UnloadFailureTexts)
{
    const QString copy = ScratchCopy(DejaVuSans(), QStringLiteral("texts"));
    const struct {
        QString File;
        QString Second;
        QString Text;
    } cases[] = {
        {QString(), QString(), QStringLiteral("Failed to unload because the font file is unknown.")},
        {QStringLiteral("/nonexistent/a.pfm"), QString(),
         QStringLiteral("Failed to unload because the font file /nonexistent/a.pfm not found.")},
        {copy, QStringLiteral("/nonexistent/a.pfb"),
         QStringLiteral("Failed to unload because the font file /nonexistent/a.pfb not found.")},
    };
    for (const auto& c : cases) {
        catalogue::TFontItem item(QStringLiteral("F"), false);
        item.SetFontFile(c.File);
        item.SetSecondFile(c.Second);
        const catalogue::TUnloadResult result = item.UnloadFont();
        EXPECT_FALSE(result.Success);
        EXPECT_EQ(result.FailureText, c.Text);
    }
    // A font the session does not hold, whose file exists, unloads successfully.
    catalogue::TFontItem notLoaded(QStringLiteral("F"), false);
    notLoaded.SetFontFile(copy);
    EXPECT_TRUE(notLoaded.UnloadFont().Success);
}

} // namespace
