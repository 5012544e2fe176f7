// The operation engine on real files in the isolated environment; what another program sees
// is asked of fc-list in its own process.

#include "InstalledFontsTestSupport.h"

#include "operations/FontOperationThreadUnit.h"
#include "platform/Places.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QStandardPaths>

#include <ostream>
#include <stdexcept>

// Status texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace qmtest;
using catalogue::TFontItem;
using operations::TFontItemPro;
using operations::TFontOperation;
using operations::TFontOperationThread;
namespace FontStatus = catalogue::FontStatus;

// An index and cache of the test's own: one configurable match, and the changes recorded.
class TTestCatalogue : public operations::TFontOperationCatalogue {
public:
    struct TState {
        std::unique_ptr<TFontItem> Match;
        bool ThrowOnMatch = false;
        QStringList Calls;
    };
    explicit TTestCatalogue(TState& state) : FState(state) {}
    std::unique_ptr<TFontItem> MatchingFont(const TFontItem&) override
    {
        if (FState.ThrowOnMatch)
            throw std::runtime_error("index unreadable");
        return FState.Match ? operations::DetachedCopy(*FState.Match) : nullptr;
    }
    void AddAsInstalled(const TFontItem& item) override { FState.Calls << "installed " + item.FontFile(); }
    void AddAsLoaded(const TFontItem& item) override { FState.Calls << "loaded " + item.FontFile(); }
    void Remove(const TFontItem& item) override { FState.Calls << "remove " + item.FontFile(); }
    void FileMoved(const TFontItem& from, const TFontItem& to) override
    {
        FState.Calls << "moved " + from.FontFile() + " " + to.FontFile();
    }

private:
    TState& FState;
};

std::unique_ptr<TFontItemPro> Task(const QString& file, const QString& family = QStringLiteral("DejaVu Sans"),
                                   int gdiTypeBits = 4)
{
    auto item = std::make_unique<TFontItemPro>(family, false);
    item->SetFullName(family);
    item->SetRegistryName(family + QStringLiteral(" (TrueType)"));
    item->SetFontFile(file);
    item->SetFontKind(5);
    item->SetGdiTypeBits(gdiTypeBits);
    return item;
}

bool Listed(const QString& file)
{
    const auto files = FcListFiles();
    if (!files)
        return false;
    const QString target = QFileInfo(file).canonicalFilePath();
    for (const QString& listed : *files)
        if (listed == file || (!target.isEmpty() && QFileInfo(listed).canonicalFilePath() == target))
            return true;
    return false;
}

class FontOperationEngine : public InstalledFontsTest {
protected:
    void SetUp() override
    {
        InstalledFontsTest::SetUp();
        FFont = SystemTrueTypeFont();
        if (FFont.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("fc-list")).isEmpty())
            GTEST_SKIP() << "needs fc-list and a TrueType font";
        QDir(platform::places::SessionFolder()).removeRecursively();
        settings::TFontViewerRegistrySettings::OpenApplicationSettings();
        FBackup = FreshFolder(FOutside + "/../backup");
        FBackup = QFileInfo(FBackup).canonicalFilePath();
        FOptions.SmartInstallFonts = FOptions.SmartUninstallFonts = false;
        FOptions.SmartLoadFonts = FOptions.SmartUnloadFonts = false;
        FOptions.CopyToFontsFolderTrueTypeAndOpenType = false;
    }

    // A copy of the real font outside every font folder; tag makes its bytes differ.
    QString OutsideCopy(const QString& name, const QByteArray& tag = {})
    {
        return CopyOfFont(FFont, FOutside + "/" + name, tag);
    }

    // Runs one operation on the tasks; answers the thread's final state.
    operations::TThreadState Run(TFontOperation operation, const std::vector<TFontItemPro*>& tasks,
                                 const QString& destination = {},
                                 const std::function<void(TFontOperationThread&)>& prepare = {})
    {
        TFontOperationThread thread;
        thread.SetOperation(operation);
        thread.SetOptions(FOptions);
        thread.SetBackupFolder(FBackup);
        thread.SetDestinationFolder(destination);
        thread.SetTasks(tasks);
        thread.SetCatalogue(std::make_unique<TTestCatalogue>(FCatalogue));
        if (prepare)
            prepare(thread);
        thread.RunSynchronously();
        FSucceeded = thread.SucceededCount();
        FFailed = thread.FailedCount();
        return thread.State();
    }

    QString Status(TFontOperation operation, TFontItemPro& item, const QString& destination = {})
    {
        Run(operation, {&item}, destination);
        return item.StatusText();
    }

    QString FFont;
    QString FBackup;
    operations::TFontOperationOptions FOptions;
    TTestCatalogue::TState FCatalogue;
    int FSucceeded = 0;
    int FFailed = 0;
};

TEST_F(FontOperationEngine, InstallCopiesUnderAFreeNameOrReusesAnIdenticalFile)
{
    // A different file already has the name: the copy is numbered.
    FOptions.CopyToFontsFolderTrueTypeAndOpenType = true;
    WriteSfntFont(FUserFonts + "/Sample.ttf", u"Other Face", "other");
    const QString source = OutsideCopy("Sample.ttf");
    auto item = Task(source);
    EXPECT_EQ(Status(TFontOperation::Install, *item), "Font copied and installed in fonts folder.");
    EXPECT_TRUE(item->Succeeded());
    const QString placed = FUserFonts + "/Sample0.ttf";
    EXPECT_EQ(ReadAll(placed), ReadAll(source));
    EXPECT_TRUE(Listed(placed));
    EXPECT_TRUE(FCatalogue.Calls.contains("installed " + placed));

    // The same bytes once more: the file there is reused, nothing new is written.
    auto again = Task(OutsideCopy("Sample.ttf"));
    EXPECT_EQ(Status(TFontOperation::Install, *again), "Font copied and installed in fonts folder.");
    EXPECT_FALSE(QFileInfo::exists(FUserFonts + "/Sample1.ttf"));
    EXPECT_TRUE(QFileInfo::exists(source));
}

TEST_F(FontOperationEngine, InstallAndLoadFollowTheMatchingFont)
{
    const QString source = OutsideCopy("Match.ttf");
    struct TCase {
        TFontOperation Operation;
        std::uint8_t MatchFlags;
        bool SameFile;
        const char* Text;
    };
    const TCase cases[] = {
        {TFontOperation::Install, FontStatus::Installed | FontStatus::Loaded, false, "A similar font is already installed."},
        {TFontOperation::Install, FontStatus::Installed | FontStatus::FileLoaded, true, "This font is already installed."},
        {TFontOperation::Install, FontStatus::Installed, false, "A similar font is already installed but not loaded."},
        {TFontOperation::Install, FontStatus::Loaded, false, "A similar font is already loaded."},
        {TFontOperation::Install, 0, false, "A similar font is already active."},
        {TFontOperation::Install, 0, true, "This font is already active."},
        {TFontOperation::Load, FontStatus::Loaded, true, "This font is already loaded."},
        {TFontOperation::Load, FontStatus::FileLoaded, false, "A similar font is already loaded."},
        {TFontOperation::Load, FontStatus::SimilarInstalled | FontStatus::Loaded, false, "A similar font is already installed."},
        {TFontOperation::Load, FontStatus::Installed, false, "A similar font is already installed but not loaded."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        FCatalogue.Match = Task(c.SameFile ? source : FOutside + "/elsewhere.ttf");
        FCatalogue.Match->SetStatusFlags(c.MatchFlags);
        auto item = Task(source);
        EXPECT_EQ(Status(c.Operation, *item), c.Text);
        EXPECT_FALSE(item->Succeeded());
        EXPECT_EQ(FFailed, 1);
    }
    EXPECT_TRUE(FCatalogue.Calls.isEmpty());
    EXPECT_FALSE(Listed(source));
}

TEST_F(FontOperationEngine, InstalledButUnloadedSameFileIsRegisteredAndLoadedAgain)
{
    const QString source = OutsideCopy("Again.ttf");
    FCatalogue.Match = Task(source);
    FCatalogue.Match->SetStatusFlags(FontStatus::Installed);
    auto item = Task(source);
    EXPECT_EQ(Status(TFontOperation::Install, *item), "Succeeded");
    EXPECT_TRUE(item->Succeeded());
    EXPECT_TRUE(Listed(source));
}

TEST_F(FontOperationEngine, UninstallMovesFilesOfTheFontsFolderToTheBackupFolderOnly)
{
    // From the fonts folder: the file ends in the backup folder and nobody lists it.
    const QString installed = FUserFonts + "/Backed.ttf";
    QFile::copy(FFont, installed);
    auto item = Task(installed);
    item->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    ASSERT_TRUE(Listed(installed));
    EXPECT_EQ(Status(TFontOperation::Uninstall, *item), "Succeeded; moved the font file to the Backup folder.");
    EXPECT_FALSE(QFileInfo::exists(installed));
    EXPECT_EQ(ReadAll(FBackup + "/Backed.ttf"), ReadAll(FFont));
    EXPECT_FALSE(Listed(installed));
    EXPECT_FALSE(Listed(FBackup + "/Backed.ttf"));
    EXPECT_TRUE(FCatalogue.Calls.contains("remove " + installed));

    // Installed from elsewhere (a link): the link goes, the file stays.
    const QString outside = OutsideCopy("Linked.ttf");
    auto linked = Task(outside);
    ASSERT_EQ(Status(TFontOperation::Install, *linked), "Succeeded");
    ASSERT_TRUE(Listed(outside));
    auto toUninstall = Task(outside);
    toUninstall->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    EXPECT_EQ(Status(TFontOperation::Uninstall, *toUninstall), "Succeeded");
    EXPECT_TRUE(QFileInfo::exists(outside));
    EXPECT_FALSE(Listed(outside));
}

TEST_F(FontOperationEngine, LoadAndUnloadForTheSession)
{
    const QString source = OutsideCopy("Session.ttf");
    auto item = Task(source);
    EXPECT_EQ(Status(TFontOperation::Load, *item), "Succeeded");
    EXPECT_TRUE(Listed(source));
    EXPECT_TRUE(FCatalogue.Calls.contains("loaded " + source));
    EXPECT_EQ(Status(TFontOperation::Unload, *item), "Succeeded");
    EXPECT_FALSE(Listed(source));
    // Not held by the session: still a success, and the cache forgets it.
    FCatalogue.Calls.clear();
    EXPECT_EQ(Status(TFontOperation::Unload, *item), "Succeeded");
    EXPECT_TRUE(FCatalogue.Calls.contains("remove " + source));
    // A missing file is named.
    auto missing = Task(FOutside + "/gone.ttf");
    EXPECT_EQ(Status(TFontOperation::Unload, *missing),
              "Failed to unload because the font file " + FOutside + "/gone.ttf not found.");
}

TEST_F(FontOperationEngine, DeleteGoesToTheTrashAndAShortcutDeleteOnlyRemovesTheLink)
{
    const QString trash = Q(IsolatedEnvironment::Global().DataHome()) + "/Trash/files";
    const QString source = OutsideCopy("Doomed.ttf");
    auto item = Task(source);
    EXPECT_EQ(Status(TFontOperation::Delete, *item), "Succeeded");
    EXPECT_FALSE(QFileInfo::exists(source));
    QDir trashDir(trash);
    EXPECT_FALSE(trashDir.entryList({"Doomed*.ttf"}, QDir::Files).isEmpty());

    const QString target = OutsideCopy("Target.ttf");
    const QString link = FOutside + "/Target.lnk";
    ASSERT_TRUE(QFile::link(target, link));
    auto shortcut = Task(target);
    shortcut->SetViaShortcut(true);
    shortcut->SetShortcutPath(link);
    EXPECT_EQ(Status(TFontOperation::Delete, *shortcut), "Succeeded");
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST_F(FontOperationEngine, MoveCopyAndShortcutsToFolders)
{
    const QString source = OutsideCopy("Mover.ttf");
    auto item = Task(source);
    EXPECT_EQ(Status(TFontOperation::Move, *item, FOutside), "This font is already located in the destination folder.");
    EXPECT_TRUE(QFileInfo::exists(source));

    const QString other = FreshFolder(FOutside + "/other");
    EXPECT_EQ(Status(TFontOperation::Copy, *item, other), "Font copied to the destination folder.");
    EXPECT_EQ(ReadAll(other + "/Mover.ttf"), ReadAll(source));
    EXPECT_EQ(Status(TFontOperation::Copy, *item, other), "Font copied to the destination folder.");
    EXPECT_FALSE(QFileInfo::exists(other + "/Mover0.ttf")) << "an identical file is reused";

    const QString third = FreshFolder(FOutside + "/third");
    EXPECT_EQ(Status(TFontOperation::Move, *item, third), "Font moved to the destination folder.");
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_TRUE(QFileInfo::exists(third + "/Mover.ttf"));
    EXPECT_TRUE(FCatalogue.Calls.contains("moved " + source + " " + third + "/Mover.ttf"));

    auto moved = Task(third + "/Mover.ttf");
    EXPECT_EQ(Status(TFontOperation::CreateShortcut, *moved, other), "Shortcut created in the destination folder.");
    EXPECT_EQ(Status(TFontOperation::CreateShortcut, *moved, other), "Shortcut created in the destination folder.");
    EXPECT_EQ(QFileInfo(other + "/Mover.lnk").symLinkTarget(), third + "/Mover.ttf");
    EXPECT_EQ(QFileInfo(other + "/Mover0.lnk").symLinkTarget(), third + "/Mover.ttf");

    auto unknown = Task(QString());
    EXPECT_EQ(Status(TFontOperation::Move, *unknown, other),
              "Could not move the font to the destination folder, because the source file is unknown.");
    EXPECT_EQ(Status(TFontOperation::Copy, *unknown, other),
              "Could not copy the font to the destination folder, because the source file is unknown.");
    EXPECT_EQ(Status(TFontOperation::CreateShortcut, *unknown, other),
              "Could not create shortcut, because the source file is unknown.");
    EXPECT_EQ(Status(TFontOperation::Copy, *moved, FUserFonts + "/"),
              "Can't copy fonts to fonts folder. See the help file for more information about fonts folder.");
}

TEST_F(FontOperationEngine, StopAfterTheThirdOfTenLeavesTheRestAborted)
{
    const QString source = OutsideCopy("Many.ttf");
    const QString destination = FreshFolder(FOutside + "/many");
    std::vector<std::unique_ptr<TFontItemPro>> owned;
    std::vector<TFontItemPro*> tasks;
    for (int i = 0; i < 10; ++i) {
        owned.push_back(Task(source));
        tasks.push_back(owned.back().get());
    }
    int done = 0;
    const auto state = Run(TFontOperation::Copy, tasks, destination, [&](TFontOperationThread& thread) {
        thread.OnFontDone = [&](TFontOperationThread* sender, TFontItemPro*) {
            if (++done == 3)
                sender->Stop();
        };
    });
    EXPECT_EQ(state, operations::TThreadState::StoppedByUser);
    EXPECT_EQ(FSucceeded, 3);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(tasks[i]->StatusText(), i < 3 ? "Font copied to the destination folder." : "Aborted") << i;
}

TEST_F(FontOperationEngine, SystemFontsAreRefused)
{
    const QString source = OutsideCopy("marlett.ttf");
    const QString other = FreshFolder(FOutside + "/sys");
    struct TCase {
        TFontOperation Operation;
        const char* Text;
    };
    const TCase cases[] = {
        {TFontOperation::Uninstall, "Uninstall not allowed on system fonts. See the help file for more information about system fonts."},
        {TFontOperation::Unload, "Unload not allowed on system fonts. See the help file for more information about system fonts."},
        {TFontOperation::Delete, "Delete not allowed on system fonts. See the help file for more information about system fonts."},
        {TFontOperation::Move, "Move not allowed on installed or loaded system fonts. See the help file for more information about system fonts."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        auto marlett = Task(source, QStringLiteral("Marlett"), 4);
        marlett->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
        EXPECT_EQ(Status(c.Operation, *marlett, other), c.Text);
        auto system = Task(source, QStringLiteral("System"), 1);
        system->SetStatusFlags(FontStatus::Loaded);
        EXPECT_EQ(Status(c.Operation, *system, other), c.Text);
        EXPECT_TRUE(QFileInfo::exists(source));
    }
}

TEST_F(FontOperationEngine, AFailedStepLeavesFilesAndInstalledStateAsTheyWere)
{
    // The backup folder cannot take the file: the font stays installed where it was.
    const QString installed = FUserFonts + "/Kept.ttf";
    QFile::copy(FFont, installed);
    auto item = Task(installed);
    item->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    {
        UnwritableFolder locked(FBackup);
        if (locked.Active()) {
            EXPECT_EQ(Status(TFontOperation::Uninstall, *item), "Failed to uninstall the font.");
            EXPECT_TRUE(QFileInfo::exists(installed));
        }
    }
    EXPECT_TRUE(Listed(installed));

    // A destination that refuses the move: the linked install comes back.
    const QString outside = OutsideCopy("Stay.ttf");
    auto linked = Task(outside);
    ASSERT_EQ(Status(TFontOperation::Install, *linked), "Succeeded");
    linked->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
    const QString locked = FreshFolder(FOutside + "/locked");
    {
        UnwritableFolder guard(locked);
        if (guard.Active()) {
            EXPECT_EQ(Status(TFontOperation::Move, *linked, locked), "Could not move the font to the destination folder.");
            EXPECT_TRUE(QFileInfo::exists(outside));
        }
    }
    EXPECT_TRUE(Listed(outside));

    // The source goes while the run is under way: the install fails and copies nothing.
    FOptions.CopyToFontsFolderTrueTypeAndOpenType = true;
    const QString vanishing = OutsideCopy("Vanish.ttf");
    auto task = Task(vanishing);
    Run(TFontOperation::Install, {task.get()}, {}, [&](TFontOperationThread& thread) {
        thread.OnFontStart = [&](TFontOperationThread*, TFontItemPro*) { QFile::remove(vanishing); };
    });
    EXPECT_EQ(task->StatusText(), "Could not copy and install the font into fonts folder.");
    EXPECT_FALSE(QFileInfo::exists(FUserFonts + "/Vanish.ttf"));
}

TEST_F(FontOperationEngine, AnExceptionFailsOneTaskAndTheRunGoesOn)
{
    const QString source = OutsideCopy("Raise.ttf");
    auto first = Task(source);
    auto second = Task(source);
    FCatalogue.ThrowOnMatch = true;
    const auto state = Run(TFontOperation::Install, {first.get(), second.get()});
    EXPECT_EQ(state, operations::TThreadState::Completed);
    EXPECT_EQ(FFailed, 2);
    EXPECT_EQ(first->StatusText(), "Failed to install the font.");
    EXPECT_EQ(second->StatusText(), "Failed to install the font.");
}

} // namespace
