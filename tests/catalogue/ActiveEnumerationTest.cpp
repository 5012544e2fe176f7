// The active enumeration in the isolated environment: font files placed in the user font
// folder (installed) and loaded for the session between runs, and what each run hands over.

#include "CatalogueTestFonts.h"
#include "IsolatedEnvironment.h"

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "catalogue/FontEnumBatches.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/GlobalFontManagerUnit.h"
#include "platform/FontDirs.h"
#include "platform/InstalledFontsHive.h"
#include "platform/Places.h"
#include "platform/Registry.h"
#include "platform/SessionFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace catalogue;

enum class TBatchKind { Removed, Added, Changed };

struct TReportedFace {
    TBatchKind Kind;
    int Batch;  // the number of the hand-over in the run
    QString FullName;
    std::uint8_t Flags;
    QString File;
    QString StatusText;
};

struct TRunResult {
    std::vector<TReportedFace> Faces;
    bool Finished = false;
    bool Completed = false;
    bool Began = false;
    bool Ended = false;
    QStringList Errors;

    std::vector<TReportedFace> Of(const QString& fullName) const
    {
        std::vector<TReportedFace> found;
        for (const TReportedFace& face : Faces)
            if (face.FullName.compare(fullName, Qt::CaseInsensitive) == 0)
                found.push_back(face);
        return found;
    }
    std::vector<TReportedFace> OfKind(TBatchKind kind, const QString& prefix) const
    {
        std::vector<TReportedFace> found;
        for (const TReportedFace& face : Faces)
            if (face.Kind == kind && face.FullName.startsWith(prefix))
                found.push_back(face);
        return found;
    }
};

QString UserFontFolder()
{
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().UserFontFolder());
}

QString ScratchFolder(const QString& name)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

// A copy of a DejaVu font whose names say "tag" instead of "DejaVu" (six letters), so that
// its faces are not confused with the system's own copy. The readers and fontconfig ignore
// the table checksums.
QString RenamedFont(const QString& source, const QString& tag, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = in.readAll();
    const QByteArray from = QByteArrayLiteral("DejaVu");
    const QByteArray to = tag.toLatin1();
    bytes.replace(from, to);
    QByteArray wideFrom;
    QByteArray wideTo;
    for (int i = 0; i < from.size(); ++i) {
        wideFrom.append('\0').append(from.at(i));
        wideTo.append('\0').append(to.at(i));
    }
    bytes.replace(wideFrom, wideTo);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return {};
    return target;
}

// One run of the enumeration; the test's event loop serves its hand-overs.
TRunResult RunEnumeration(TActiveEnumerationState& state, bool forget = false)
{
    TRunResult result;
    auto thread = std::make_unique<TActiveFontsThreadEx>(state);
    thread->SetFreeOnTerminate(false);
    if (forget)
        thread->ForgetPreviousEnumeration();
    int batch = 0;
    const auto recorder = [&](TBatchKind kind) {
        return [&, kind](TFontItems& items, bool&, TBaseFontsThreadEx&) {
            ++batch;
            for (const auto& item : items)
                result.Faces.push_back({kind, batch, item->FullName(), item->StatusFlags(), item->FontFile(),
                                        item->StatusText()});
        };
    };
    thread->OnRemoved = recorder(TBatchKind::Removed);
    thread->OnAdded = recorder(TBatchKind::Added);
    thread->OnChanged = recorder(TBatchKind::Changed);
    thread->OnError = [&](const QString& text, TBaseFontsThreadEx&) { result.Errors << text; };
    thread->OnFinished = [&](TBaseFontsThreadEx&, bool completed) {
        result.Finished = true;
        result.Completed = completed;
    };
    thread->OnEnumerationBegins = [&](TActiveFontsThreadEx&) { result.Began = true; };
    thread->OnEnumerationEnds = [&](TActiveFontsThreadEx&) { result.Ended = true; };
    thread->Resume();
    while (!thread->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread->wait();
    return result;
}

// One run whose batches are applied to a catalogue, as the main window applies them.
void RunIntoCatalogue(TActiveEnumerationState& state, TActiveCatalogueBatches& batches, bool forget)
{
    TActiveFontsThreadEx thread(state);
    thread.SetFreeOnTerminate(false);
    if (forget)
        thread.ForgetPreviousEnumeration();
    thread.OnRemoved = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyRemoved(items); };
    thread.OnAdded = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyAdded(items); };
    thread.OnChanged = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyChanged(items); };
    thread.Resume();
    while (!thread.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread.wait();
}

// Every face's reports keep the order removed, added, changed.
void ExpectHandOverOrder(const TRunResult& run)
{
    for (const TReportedFace& face : run.Faces) {
        int lastKind = -1;
        int lastBatch = 0;
        for (const TReportedFace& report : run.Of(face.FullName)) {
            if (report.Batch != lastBatch) {
                EXPECT_GE(static_cast<int>(report.Kind), lastKind) << face.FullName.toStdString();
                lastKind = static_cast<int>(report.Kind);
                lastBatch = report.Batch;
            }
        }
    }
}

class ActiveEnumeration : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(cataloguetest::DejaVuSans()) || !QFileInfo::exists(cataloguetest::DejaVuSansBold()))
            GTEST_SKIP() << "the DejaVu fonts are not installed";
        QDir(UserFontFolder()).removeRecursively();
        QDir().mkpath(UserFontFolder());
        QDir(platform::places::SessionFolder()).removeRecursively();
        // The installed-font view of the user font folder alone.
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE,
                                 std::make_shared<platform::InstalledFontsHive>(QStringList{UserFontFolder()},
                                                                                UserFontFolder()));
    }
    void TearDown() override
    {
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, nullptr);
        QDir(UserFontFolder()).removeRecursively();
        QDir(platform::places::SessionFolder()).removeRecursively();
    }

    QString Installed(const QString& source, const QString& tag, const QString& name)
    {
        return RenamedFont(source, tag, UserFontFolder() + QLatin1Char('/') + name);
    }

    TActiveEnumerationState FState;
};

TEST_F(ActiveEnumeration, FirstRunReportsEveryFaceAsAdded)
{
    const QString regular = Installed(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuA"), QStringLiteral("a.ttf"));
    const QString bold = Installed(cataloguetest::DejaVuSansBold(), QStringLiteral("QmEnuA"), QStringLiteral("ab.ttf"));
    ASSERT_FALSE(regular.isEmpty());
    ASSERT_FALSE(bold.isEmpty());

    const TRunResult run = RunEnumeration(FState, true);
    EXPECT_TRUE(run.Began);
    EXPECT_TRUE(run.Ended);
    ASSERT_TRUE(run.Finished);
    EXPECT_TRUE(run.Completed);
    EXPECT_TRUE(run.Errors.isEmpty()) << run.Errors.join(QLatin1Char('\n')).toStdString();

    const auto added = run.OfKind(TBatchKind::Added, QStringLiteral("QmEnuA Sans"));
    ASSERT_EQ(added.size(), 2u);
    for (const TReportedFace& face : added) {
        EXPECT_EQ(face.Flags, FontStatus::Loaded | FontStatus::Installed) << face.FullName.toStdString();
        EXPECT_EQ(face.StatusText, QStringLiteral("Installed"));
        EXPECT_TRUE(face.File == regular || face.File == bold);
    }
    EXPECT_TRUE(run.OfKind(TBatchKind::Changed, QString()).empty());
    // The system's own faces arrive too, as loaded.
    EXPECT_FALSE(run.OfKind(TBatchKind::Added, QStringLiteral("DejaVu Sans")).empty());
    ExpectHandOverOrder(run);

    // Nothing changed: the next run hands nothing over.
    const TRunResult again = RunEnumeration(FState);
    EXPECT_TRUE(again.Completed);
    EXPECT_TRUE(again.Faces.empty());
}

TEST_F(ActiveEnumeration, ASessionFontArrivesLoadedWithoutFile)
{
    RunEnumeration(FState, true);
    const QString file = RenamedFont(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuB"),
                                     ScratchFolder(QStringLiteral("session")) + QStringLiteral("/b.ttf"));
    ASSERT_GT(platform::TSessionFonts::Add({file}), 0);

    const TRunResult run = RunEnumeration(FState);
    const auto faces = run.Of(QStringLiteral("QmEnuB Sans"));
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].Kind, TBatchKind::Added);
    // Whether the engine can draw it is the details' business; the status is loaded alone.
    EXPECT_EQ(faces[0].Flags & ~FontStatus::NotDisplayable, FontStatus::Loaded);
    EXPECT_TRUE(faces[0].File.isEmpty());

    // Unloaded again: removed.
    ASSERT_TRUE(platform::TSessionFonts::Remove({file}));
    const TRunResult after = RunEnumeration(FState);
    const auto gone = after.Of(QStringLiteral("QmEnuB Sans"));
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].Kind, TBatchKind::Removed);
}

TEST_F(ActiveEnumeration, ReplacingARegisteredFileIsOneChangedFace)
{
    const QString first = Installed(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuC"), QStringLiteral("c1.ttf"));
    ASSERT_FALSE(first.isEmpty());
    RunEnumeration(FState, true);

    ASSERT_TRUE(QFile::remove(first));
    const QString second = Installed(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuC"), QStringLiteral("c2.ttf"));
    const TRunResult run = RunEnumeration(FState);
    const auto faces = run.Of(QStringLiteral("QmEnuC Sans"));
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].Kind, TBatchKind::Changed);
    EXPECT_EQ(faces[0].File, second);
    EXPECT_EQ(faces[0].Flags, FontStatus::Loaded | FontStatus::Installed);
}

TEST_F(ActiveEnumeration, RemovingAFamilyRemovesAllItsFacesInOneRun)
{
    Installed(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuD"), QStringLiteral("d.ttf"));
    Installed(cataloguetest::DejaVuSansBold(), QStringLiteral("QmEnuD"), QStringLiteral("db.ttf"));
    RunEnumeration(FState, true);

    QDir(UserFontFolder()).removeRecursively();
    QDir().mkpath(UserFontFolder());
    const TRunResult run = RunEnumeration(FState);
    EXPECT_EQ(run.OfKind(TBatchKind::Removed, QStringLiteral("QmEnuD Sans")).size() > 0, true);
    EXPECT_TRUE(run.OfKind(TBatchKind::Added, QStringLiteral("QmEnuD")).empty());
    EXPECT_TRUE(run.OfKind(TBatchKind::Changed, QStringLiteral("QmEnuD")).empty());
    QStringList removedNames;
    for (const TReportedFace& face : run.OfKind(TBatchKind::Removed, QStringLiteral("QmEnuD")))
        removedNames << face.FullName;
    EXPECT_TRUE(removedNames.contains(QStringLiteral("QmEnuD Sans")));
    EXPECT_TRUE(removedNames.contains(QStringLiteral("QmEnuD Sans Bold")));

    // Applied to a catalogue, the family is gone.
    EXPECT_EQ(FState.Faces.Find(QStringLiteral("QmEnuD Sans")), nullptr);
}

TEST_F(ActiveEnumeration, AppliedBatchesLeaveOneFacePerActiveFace)
{
    const QString file = Installed(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuE"), QStringLiteral("e.ttf"));
    TFontFamilyList catalogue;
    TActiveCatalogueBatches batches(catalogue, TActiveCatalogueCache{});
    const auto run = [&](bool forget) { RunIntoCatalogue(FState, batches, forget); };
    run(true);
    TFontFamilyItem* family = catalogue.FindFamily(QStringLiteral("QmEnuE Sans"));
    ASSERT_NE(family, nullptr);
    ASSERT_EQ(family->Count(), 1);
    EXPECT_EQ(family->Item(0)->FontFile(), file);

    // Replaced by a file elsewhere and loaded for the session only: removed, then added
    // again without a file.
    ASSERT_TRUE(QFile::remove(file));
    const QString loaded = RenamedFont(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuE"),
                                       ScratchFolder(QStringLiteral("session-e")) + QStringLiteral("/e.ttf"));
    ASSERT_GT(platform::TSessionFonts::Add({loaded}), 0);
    run(false);
    family = catalogue.FindFamily(QStringLiteral("QmEnuE Sans"));
    ASSERT_NE(family, nullptr);
    ASSERT_EQ(family->Count(), 1);
    EXPECT_TRUE(family->Item(0)->FontFile().isEmpty());
    EXPECT_EQ(family->Item(0)->StatusFlags() & ~FontStatus::NotDisplayable, FontStatus::Loaded);
}

TEST_F(ActiveEnumeration, AStoppedRunDeliversNothingMore)
{
    auto thread = std::make_unique<TActiveFontsThreadEx>(FState);
    thread->SetFreeOnTerminate(true);  // Stop turns it off
    thread->ForgetPreviousEnumeration();
    bool began = false;
    bool ended = false;
    bool finished = false;
    bool stopped = false;
    int batchesAfterStop = 0;
    const auto counter = [&](TFontItems&, bool&, TBaseFontsThreadEx&) { batchesAfterStop += stopped ? 1 : 0; };
    thread->OnAdded = counter;
    thread->OnRemoved = counter;
    thread->OnChanged = counter;
    thread->OnEnumerationBegins = [&](TActiveFontsThreadEx&) { began = true; };
    thread->OnEnumerationEnds = [&](TActiveFontsThreadEx&) { ended = true; };
    thread->OnFinished = [&](TBaseFontsThreadEx&, bool) { finished = true; };
    thread->Resume();
    while (!began)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    stopped = true;
    thread->Stop();
    EXPECT_TRUE(thread->isFinished());
    EXPECT_FALSE(thread->Completed());
    EXPECT_TRUE(ended);      // the selected font is reactivated
    EXPECT_FALSE(finished);  // detached by the stop
    EXPECT_EQ(batchesAfterStop, 0);
    thread.reset();
    QCoreApplication::processEvents();
}

TEST_F(ActiveEnumeration, AMissingType1OutlineFileIsNotAdded)
{
    // Without any Fonts key values the run still completes; the view has no Type 1 pairs.
    const TRunResult run = RunEnumeration(FState, true);
    EXPECT_TRUE(run.Completed);
    EXPECT_EQ(FState.Files.Count(), 0);
}

TEST_F(ActiveEnumeration, AFaceTheSystemNamesOtherwiseIsMatchedWithItsFile)
{
    // The system calls this family "TeX Gyre Cursor"; the file's own legacy names say
    // "TeXGyreCursor".
    const QString source = QStringLiteral("/usr/share/texmf/fonts/opentype/public/tex-gyre/texgyrecursor-regular.otf");
    if (!QFileInfo::exists(source))
        GTEST_SKIP() << "the TeX Gyre fonts are not installed";
    const QString file = UserFontFolder() + QStringLiteral("/cursor.otf");
    ASSERT_TRUE(QFile::copy(source, file));
    // The folder was made afresh within the second: fontconfig would trust its old cache.
    ASSERT_TRUE(platform::RescanFontconfigCache(UserFontFolder()));

    const TRunResult run = RunEnumeration(FState, true);
    ASSERT_TRUE(run.Completed);
    std::vector<TReportedFace> ofFile;
    for (const TReportedFace& face : run.Faces)
        if (face.File == file)
            ofFile.push_back(face);
    ASSERT_EQ(ofFile.size(), 1u);
    EXPECT_EQ(ofFile[0].Kind, TBatchKind::Added);
    EXPECT_EQ(ofFile[0].Flags, FontStatus::Loaded | FontStatus::Installed);
    EXPECT_EQ(ofFile[0].StatusText, QStringLiteral("Installed"));
}

TEST_F(ActiveEnumeration, TheFontCacheGivesALoadedFontItsFileAcrossRestarts)
{
    const QString cacheFile = ScratchFolder(QStringLiteral("cache-g")) + QStringLiteral("/fontcache.dat");
    QFile::remove(cacheFile);
    const QString file = RenamedFont(cataloguetest::DejaVuSans(), QStringLiteral("QmEnuG"),
                                     ScratchFolder(QStringLiteral("session-g")) + QStringLiteral("/g.ttf"));
    ASSERT_GT(platform::TSessionFonts::Add({file}), 0);
    const auto findFace = [](const TFontFamilyList& catalogue) -> TFontItem* {
        const TFontFamilyItem* family = catalogue.FindFamily(QStringLiteral("QmEnuG Sans"));
        return family && family->Count() == 1 ? family->Item(0) : nullptr;
    };

    {
        TGlobalFontManagerScope program(cacheFile);
        TFontFamilyList catalogue;
        program.Manager().SetActiveIndex(&catalogue);
        TActiveCatalogueBatches batches(catalogue);
        RunIntoCatalogue(FState, batches, true);
        TFontItem* face = findFace(catalogue);
        ASSERT_NE(face, nullptr);
        EXPECT_TRUE(face->FontFile().isEmpty()) << "the session holds it, nothing registers it";
        // What a load by the program tells the cache.
        TFontItem loaded(face->FamilyNameText(), false);
        loaded.CopyFrom(*face);
        loaded.SetFontFile(file);
        program.Manager().AddAsLoaded(loaded);
        program.Manager().SetActiveIndex(nullptr);
    }

    TActiveEnumerationState restarted;
    TGlobalFontManagerScope program(cacheFile);
    TFontFamilyList catalogue;
    program.Manager().SetActiveIndex(&catalogue);
    TActiveCatalogueBatches batches(catalogue);
    RunIntoCatalogue(restarted, batches, true);
    const TFontItem* face = findFace(catalogue);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->FontFile(), file);
    EXPECT_EQ(face->StatusFlags() & ~FontStatus::NotDisplayable, FontStatus::Loaded | FontStatus::FileLoaded);
    EXPECT_EQ(face->StatusText(), QStringLiteral("Loaded"));
    ASSERT_NE(program.Manager().MatchingCachedFont(*face), nullptr) << "confirmed, so not pruned";

    // Unloaded: the face leaves the catalogue and the cache, and the file forgets it.
    TFontItem probe(face->FamilyNameText(), false);
    probe.CopyFrom(*face);
    ASSERT_TRUE(platform::TSessionFonts::Remove({file}));
    RunIntoCatalogue(restarted, batches, false);
    EXPECT_EQ(findFace(catalogue), nullptr);
    EXPECT_EQ(program.Manager().MatchingCachedFont(probe), nullptr);
    program.Manager().SetActiveIndex(nullptr);
    ASSERT_TRUE(program.Manager().SaveCache());
    TGlobalFontManager afterRestart(cacheFile);
    EXPECT_EQ(afterRestart.MatchingCachedFont(probe), nullptr);
}

} // namespace
