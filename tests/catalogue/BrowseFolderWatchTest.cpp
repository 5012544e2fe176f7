// Following a browsed folder: the watch's events for changes made on disk, the listing
// comparison behind them, and the scan slot that rescans after a notification and keeps
// batches of a replaced scan away.

#include "BrowseTestFolders.h"

#include "catalogue/BrowseFontsThreadSlot.h"
#include "catalogue/FontFileList.h"
#include "platform/ShellNotify.h"
#include "platform/ShellNotifyListing.h"

#include <QCoreApplication>
#include <QThread>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace browsetest;
using platform::TNotifyEvent;
using platform::TNotifyEvents;
using platform::TShellNotify;

// Generous: inotify answers within milliseconds; the limit only ends a broken test.
constexpr int kWaitLimitMs = 20000;
// Long enough for a scan to have read some files, far from its first delivery (750 ms).
constexpr unsigned long kWorkBeforeStopMs = 20;

bool ServeEventsUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(kWaitLimitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct TEventRecord {
    TNotifyEvent Event;
    QString Path1;
    QString Path2;
    bool operator==(const TEventRecord&) const = default;
};

std::string Text(const TEventRecord& record)
{
    return std::to_string(static_cast<int>(record.Event)) + " " + record.Path1.toStdString() + " " +
           record.Path2.toStdString();
}

class FolderWatch : public ::testing::Test {
protected:
    void Watch(const QString& path, bool recursive, TNotifyEvents events = TNotifyEvents::FolderContents())
    {
        FNotify.SetPath(path);
        FNotify.SetRecursive(recursive);
        FNotify.SetNotifyEvents(events);
        FNotify.OnNotify = [this](TShellNotify& sender, TNotifyEvent event, const QString& path1, const QString& path2) {
            EXPECT_EQ(&sender, &FNotify);
            FEvents.push_back({event, path1, path2});
        };
        FNotify.SetActive(true);
    }
    // Waits for the event; on failure the events that came instead.
    ::testing::AssertionResult WaitFor(const TEventRecord& expected)
    {
        if (ServeEventsUntil([&] { return std::find(FEvents.begin(), FEvents.end(), expected) != FEvents.end(); }))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "no event " << Text(expected) << "; came:";
        for (const TEventRecord& event : FEvents)
            failure << "\n  " << Text(event);
        return failure;
    }

    TShellNotify FNotify;
    std::vector<TEventRecord> FEvents;
};

TEST_F(FolderWatch, ReportsChangesMadeInTheFolder)
{
    const QString folder = FreshFolder(QStringLiteral("watch-events"));
    WriteBytes(folder + "/old.ttf", "x");
    QDir(folder).mkdir(QStringLiteral("oldDir"));
    QDir(folder).mkdir(QStringLiteral("doomed"));
    Watch(folder, false);
    ASSERT_TRUE(FNotify.Active());

    struct TCase {
        const char* Name;
        std::function<void()> Change;
        TEventRecord Expected;
    };
    const std::vector<TCase> cases = {
        {"file created", [&] { WriteBytes(folder + "/new.ttf", "x"); }, {TNotifyEvent::neCreate, folder + "/new.ttf", {}}},
        {"file deleted", [&] { QFile::remove(folder + "/new.ttf"); }, {TNotifyEvent::neDelete, folder + "/new.ttf", {}}},
        {"file renamed", [&] { QFile::rename(folder + "/old.ttf", folder + "/renamed.ttf"); },
         {TNotifyEvent::neRenameItem, folder + "/old.ttf", folder + "/renamed.ttf"}},
        {"folder made", [&] { QDir(folder).mkdir("made"); }, {TNotifyEvent::neMkDir, folder + "/made", {}}},
        {"folder renamed", [&] { QDir(folder).rename("oldDir", "newDir"); },
         {TNotifyEvent::neRenameFolder, folder + "/oldDir", folder + "/newDir"}},
        {"folder removed", [&] { QDir(folder).rmdir("doomed"); }, {TNotifyEvent::neRmDir, folder + "/doomed", {}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Change();
        EXPECT_TRUE(WaitFor(c.Expected));
    }
    // Not recursive: a file in a sub-folder is no event of the folder; the file created after
    // it is, and is the last one.
    FEvents.clear();
    WriteBytes(folder + "/made/inside.ttf", "x");
    WriteBytes(folder + "/after.ttf", "x");
    ASSERT_TRUE(WaitFor({TNotifyEvent::neCreate, folder + "/after.ttf", {}}));
    for (const TEventRecord& event : FEvents)
        EXPECT_NE(event.Path1, folder + "/made/inside.ttf");
}

TEST_F(FolderWatch, RecursiveWatchFollowsNewSubFolders)
{
    const QString folder = FreshFolder(QStringLiteral("watch-recursive"));
    QDir(folder).mkpath(QStringLiteral("a/b"));
    Watch(folder, true);
    WriteBytes(folder + "/a/b/deep.ttf", "x");
    EXPECT_TRUE(WaitFor({TNotifyEvent::neCreate, folder + "/a/b/deep.ttf", {}}));
    QDir(folder).mkdir(QStringLiteral("later"));
    ASSERT_TRUE(WaitFor({TNotifyEvent::neMkDir, folder + "/later", {}}));
    WriteBytes(folder + "/later/file.ttf", "x");
    EXPECT_TRUE(WaitFor({TNotifyEvent::neCreate, folder + "/later/file.ttf", {}}));
    // The watched folder itself goes.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_TRUE(WaitFor({TNotifyEvent::neRmDir, folder, {}}));
}

TEST_F(FolderWatch, OnlyTheChosenEventsAreReported)
{
    const QString folder = FreshFolder(QStringLiteral("watch-filter"));
    WriteBytes(folder + "/old.ttf", "x");
    Watch(folder, false, TNotifyEvents{TNotifyEvent::neDelete});
    WriteBytes(folder + "/new.ttf", "x");
    QFile::remove(folder + "/old.ttf");
    ASSERT_TRUE(WaitFor({TNotifyEvent::neDelete, folder + "/old.ttf", {}}));
    for (const TEventRecord& event : FEvents)
        EXPECT_EQ(event.Event, TNotifyEvent::neDelete);
}

TEST_F(FolderWatch, ChangingAPropertyDeactivates)
{
    const QString folder = FreshFolder(QStringLiteral("watch-properties"));
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"path", [&] { FNotify.SetPath(folder); }},
        {"recursive", [&] { FNotify.SetRecursive(!FNotify.Recursive()); }},
        {"events", [&] { FNotify.SetNotifyEvents(TNotifyEvents{TNotifyEvent::neCreate}); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Watch(folder, false);
        ASSERT_TRUE(FNotify.Active());
        change();
        EXPECT_FALSE(FNotify.Active());
    }
    // The same set again changes nothing.
    Watch(folder, false);
    FNotify.SetNotifyEvents(FNotify.NotifyEvents());
    EXPECT_TRUE(FNotify.Active());

    // Inactive, nothing is reported.
    FNotify.SetActive(false);
    WriteBytes(folder + "/quiet.ttf", "x");
    QCoreApplication::processEvents();
    EXPECT_TRUE(FEvents.empty());
}

TEST_F(FolderWatch, AMissingFolderCannotBeWatched)
{
    const QString missing = FreshFolder(QStringLiteral("watch-missing")) + "/none";
    FNotify.SetPath(missing);
    EXPECT_THROW(FNotify.SetActive(true), platform::EShellNotifyError);
    EXPECT_FALSE(FNotify.Active());
}

TEST_F(FolderWatch, HandlerMayDeactivateTheComponent)
{
    const QString folder = FreshFolder(QStringLiteral("watch-reentry"));
    Watch(folder, false);
    int calls = 0;
    FNotify.OnNotify = [&](TShellNotify& sender, TNotifyEvent, const QString&, const QString&) {
        ++calls;
        sender.SetActive(false);
    };
    // Two changes, possibly seen in one listing: only the first reaches the handler.
    WriteBytes(folder + "/a.ttf", "x");
    WriteBytes(folder + "/b.ttf", "x");
    ASSERT_TRUE(ServeEventsUntil([&] { return calls > 0; }));
    QCoreApplication::processEvents();
    // The watcher that sent the signal goes when the event loop is reached again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(FNotify.Active());
}

TEST(FolderListing, ComparisonGivesTheEvents)
{
    using platform::TFolderListing;
    using platform::TListingEntry;
    const TListingEntry file1{false, 1, 10, 100};
    const TListingEntry file2{false, 2, 10, 100};
    const TListingEntry folder3{true, 3, 0, 100};
    struct TCase {
        const char* Name;
        TFolderListing Before;
        TFolderListing Now;
        std::vector<std::tuple<TNotifyEvent, QString, QString>> Expected;
    };
    const std::vector<TCase> cases = {
        {"nothing changed", {{"a", file1}}, {{"a", file1}}, {}},
        {"created", {}, {{"a", file1}}, {{TNotifyEvent::neCreate, "a", ""}}},
        {"deleted", {{"a", file1}}, {}, {{TNotifyEvent::neDelete, "a", ""}}},
        {"folder made and removed", {{"d", folder3}}, {{"e", TListingEntry{true, 4, 0, 0}}},
         {{TNotifyEvent::neRmDir, "d", ""}, {TNotifyEvent::neMkDir, "e", ""}}},
        {"renamed file", {{"a", file1}}, {{"b", file1}}, {{TNotifyEvent::neRenameItem, "a", "b"}}},
        {"renamed folder", {{"d", folder3}}, {{"e", folder3}}, {{TNotifyEvent::neRenameFolder, "d", "e"}}},
        {"written", {{"a", file1}}, {{"a", TListingEntry{false, 1, 11, 100}}}, {{TNotifyEvent::neUpdateItem, "a", ""}}},
        {"touched", {{"a", file1}}, {{"a", TListingEntry{false, 1, 10, 101}}}, {{TNotifyEvent::neUpdateItem, "a", ""}}},
        {"replaced by another file", {{"a", file1}}, {{"a", file2}},
         {{TNotifyEvent::neDelete, "a", ""}, {TNotifyEvent::neCreate, "a", ""}}},
        {"moved over another", {{"a", file1}, {"b", file2}}, {{"b", file1}},
         {{TNotifyEvent::neRenameItem, "a", "b"}, {TNotifyEvent::neDelete, "b", ""}}},
        {"a folder where a file was", {{"a", file1}}, {{"a", folder3}},
         {{TNotifyEvent::neDelete, "a", ""}, {TNotifyEvent::neMkDir, "a", ""}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::tuple<TNotifyEvent, QString, QString>> got;
        for (const platform::TListingChange& change : platform::CompareListings(c.Before, c.Now))
            got.emplace_back(change.Event, change.Name, change.NewName);
        EXPECT_EQ(got, c.Expected);
    }
}

TEST(FolderListing, ListsHiddenEntriesAndFailsOnMissingFolders)
{
    const QString folder = FreshFolder(QStringLiteral("listing"));
    WriteBytes(folder + "/.hidden", "x");
    QDir(folder).mkdir(QStringLiteral("sub"));
    QFile::link(folder + "/sub", folder + "/link");
    platform::TFolderListing listing;
    ASSERT_TRUE(platform::ListFolder(folder, listing));
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_FALSE(listing.at(".hidden").Folder);
    EXPECT_TRUE(listing.at("sub").Folder);
    EXPECT_FALSE(listing.at("link").Folder) << "a link to a folder is not followed";
    EXPECT_FALSE(platform::ListFolder(folder + "/none", listing));
}

// The scan slot of a tab with the folder's watch, as the main window wires them.
class BrowseScanSlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseProgramTextServices();
        FSlot.OnAdded = [this](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) {
            for (const auto& item : items)
                FAdded << item->FullName();
        };
        FSlot.OnRemoved = [this](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) {
            for (const auto& item : items)
                FRemoved << item->FullName();
        };
        FSlot.OnFinished = [this](bool completed) {
            ++FFinished;
            FCompleted = completed;
        };
    }
    bool WaitForEnd()
    {
        return ServeEventsUntil([&] { return !FSlot.Running(); });
    }

    catalogue::TFontFileList FFiles;
    catalogue::TBrowseScanSlot FSlot{FFiles};
    QStringList FAdded;
    QStringList FRemoved;
    int FFinished = 0;
    bool FCompleted = false;
};

TEST_F(BrowseScanSlot, NotificationLeadsToAnIncrementalRescan)
{
    const QString folder = FreshFolder(QStringLiteral("slot-rescan"));
    WriteTrueType(folder + "/first.ttf", "First Slot");
    TShellNotify notify;
    notify.SetPath(folder);
    notify.SetNotifyEvents(TNotifyEvents::FolderContents());
    notify.OnNotify = [&](TShellNotify&, TNotifyEvent, const QString&, const QString&) { FSlot.FolderChanged(); };
    notify.SetActive(true);

    FSlot.StartFresh(folder, false);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(FAdded, QStringList{"First Slot Regular"});
    EXPECT_EQ(FFinished, 1);
    EXPECT_TRUE(FCompleted);
    EXPECT_FALSE(FSlot.Poll()) << "nothing changed";

    FAdded.clear();
    WriteTrueType(folder + "/second.ttf", "Second Slot");
    QFile::remove(folder + "/first.ttf");
    ASSERT_TRUE(ServeEventsUntil([&] { return FSlot.ChangePending(); }));
    // The main window's poll: the rescan reads only what changed. Both changes may arrive in
    // one notification or in two, with a rescan each.
    ASSERT_TRUE(ServeEventsUntil([&] {
        FSlot.Poll();
        return FAdded.size() >= 1 && FRemoved.size() >= 1 && !FSlot.Running();
    }));
    EXPECT_EQ(FAdded, QStringList{"Second Slot Regular"});
    EXPECT_EQ(FRemoved, QStringList{"First Slot Regular"});
}

TEST_F(BrowseScanSlot, BatchesOfAReplacedScanAreIgnored)
{
    const QString first = FreshFolder(QStringLiteral("slot-first"));
    const QString second = FreshFolder(QStringLiteral("slot-second"));
    for (int i = 0; i < 30; ++i)
        WriteTrueType(first + QStringLiteral("/f%1.ttf").arg(i), "Replaced Slot", "Style" + std::to_string(i));
    WriteTrueType(second + "/kept.ttf", "Kept Slot");

    FSlot.StartFresh(first, false);
    // Replaced before the main thread served any of its hand-overs.
    FSlot.StartFresh(second, false);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(FAdded, QStringList{"Kept Slot Regular"});
    EXPECT_EQ(FFinished, 1) << "the replaced scan's end is not reported";
    EXPECT_EQ(FFiles.Paths(), QStringList{second + "/kept.ttf"});
}

TEST_F(BrowseScanSlot, StopKeepsWhatWasFoundAndDropsAPendingChange)
{
    const QString folder = FreshFolder(QStringLiteral("slot-stop"));
    for (int i = 0; i < 200; ++i)
        WriteTrueType(folder + QStringLiteral("/s%1.ttf").arg(i), "Stopped Slot", "Style" + std::to_string(i));
    FSlot.StartFresh(folder, false);
    FSlot.FolderChanged();
    // Stopped while it reads, before its first batch is due.
    QThread::msleep(kWorkBeforeStopMs);
    FSlot.Stop();
    EXPECT_FALSE(FSlot.Running());
    EXPECT_FALSE(FSlot.ChangePending());
    const qsizetype delivered = FAdded.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(FAdded.size(), delivered) << "nothing arrives after the stop";
    EXPECT_EQ(FFinished, 0);
    EXPECT_FALSE(FSlot.Poll());
    // The list keeps only the files whose faces reached the catalogue (one face each here).
    EXPECT_EQ(FFiles.Count(), delivered);

    // A rescan after the stop reports only the files the stopped scan had not handed over.
    FSlot.FolderChanged();
    EXPECT_TRUE(FSlot.Poll());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(FAdded.size(), 200);
    EXPECT_EQ(FAdded.size(), QSet<QString>(FAdded.begin(), FAdded.end()).size());
}

TEST_F(BrowseScanSlot, RemovalsAStoppedRescanCouldNotHandOverComeWithTheNextOne)
{
    const QString folder = FreshFolder(QStringLiteral("slot-stop-removals"));
    for (int i = 0; i < 200; ++i)
        WriteTrueType(folder + QStringLiteral("/r%1.ttf").arg(i), "Removed Slot", "Style" + std::to_string(i));
    FSlot.StartFresh(folder, false);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(FAdded.size(), 200);

    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/r%1.ttf").arg(i)));
    // Stopped while it works: the removals it found may still be waiting for their batch.
    FSlot.FolderChanged();
    ASSERT_TRUE(FSlot.Poll());
    QThread::msleep(kWorkBeforeStopMs);
    FSlot.Stop();
    // Only the removals that reached the catalogue left the list.
    EXPECT_EQ(FFiles.Count(), 200 - FRemoved.size());
    FSlot.FolderChanged();
    ASSERT_TRUE(FSlot.Poll());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(FRemoved.size(), 150);
    EXPECT_EQ(FRemoved.size(), QSet<QString>(FRemoved.begin(), FRemoved.end()).size());
    EXPECT_EQ(FFiles.Count(), 50);
}

} // namespace
