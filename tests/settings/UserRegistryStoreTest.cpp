#include "platform/UserRegistryStore.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <stdexcept>
#include <thread>
#include <vector>

using platform::RegistryHiveError;
using platform::RegistryValue;
using platform::UserRegistryStore;
using qmtest::Dword;
using qmtest::ReadAll;
using qmtest::ScratchFolder;
using qmtest::Utf16;

namespace {

QStringList DamagedCopies(const QString& folder)
{
    return QDir(folder).entryList({"user.reg.damaged-*"}, QDir::Files);
}

// Collects what the store reports, for the length of one test.
class ReportCollector {
public:
    ReportCollector()
        : FPrevious(UserRegistryStore::SetProblemReporter([this](const QString& line) { FLines.append(line); }))
    {
    }
    ~ReportCollector() { UserRegistryStore::SetProblemReporter(FPrevious); }
    ReportCollector(const ReportCollector&) = delete;
    ReportCollector& operator=(const ReportCollector&) = delete;
    const QStringList& Lines() const { return FLines; }

private:
    UserRegistryStore::ProblemReporter FPrevious;
    QStringList FLines;
};

} // namespace

TEST(UserRegistryStore, ValuesPersistAndAnotherStoreReadsThem)
{
    const QString folder = ScratchFolder("store-persist") + "/not yet made";
    const QString path = folder + "/user.reg";
    {
        UserRegistryStore store(path);
        EXPECT_FALSE(store.QueryValue("Software", "x"));
        EXPECT_FALSE(QFileInfo::exists(path)) << "reading writes nothing";
        store.SetValue("Software\\A", "Text", {1, Utf16("one")});
        store.SetValue("Software\\A", "Number", {4, Dword(5)});
        store.CreateKey("Software\\Empty");
    }
    UserRegistryStore other(path);
    EXPECT_EQ(other.QueryValue("software\\a", "text"), (RegistryValue{1, Utf16("one")}));
    EXPECT_EQ(other.QueryValue("Software\\A", "Number"), (RegistryValue{4, Dword(5)}));
    EXPECT_TRUE(other.KeyExists("Software\\Empty"));
    EXPECT_EQ(other.ValueNames("Software\\A"), QStringList({"Text", "Number"}));
    EXPECT_TRUE(other.DeleteValue("Software\\A", "TEXT"));
    EXPECT_FALSE(other.DeleteValue("Software\\A", "Text"));
    EXPECT_TRUE(other.DeleteKey("Software\\A"));
    EXPECT_FALSE(UserRegistryStore(path).KeyExists("Software\\A"));
    EXPECT_FALSE(QFileInfo::exists(path + ".new"));
}

TEST(UserRegistryStore, SeesWhatAnotherWriterStored)
{
    const QString path = ScratchFolder("store-other") + "/user.reg";
    UserRegistryStore first(path);
    UserRegistryStore second(path);
    first.SetValue("K", "a", {4, Dword(1)});
    EXPECT_EQ(second.QueryValue("K", "a"), (RegistryValue{4, Dword(1)}));
    second.SetValue("K", "b", {4, Dword(2)});
    first.SetValue("K", "a", {4, Dword(3)});
    // Neither write lost the other's value, and each store sees the latest file.
    EXPECT_EQ(second.QueryValue("K", "a"), (RegistryValue{4, Dword(3)}));
    EXPECT_EQ(first.QueryValue("K", "b"), (RegistryValue{4, Dword(2)}));
}

TEST(UserRegistryStore, InvalidNamesAreRefusedBeforeAnythingIsWritten)
{
    const QString path = ScratchFolder("store-names") + "/user.reg";
    UserRegistryStore store(path);
    EXPECT_THROW(store.SetValue("A\\\\B", "x", {4, Dword(1)}), RegistryHiveError);
    EXPECT_THROW(store.SetValue("A", QString("x") + QChar(u'\0'), {4, Dword(1)}), RegistryHiveError);
    EXPECT_THROW(store.CreateKey(QString("A") + QChar(u'\x7')), RegistryHiveError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(UserRegistryStore, AWriteInterruptedBeforeTheRenameLeavesTheOldFile)
{
    const QString path = ScratchFolder("store-interrupted") + "/user.reg";
    UserRegistryStore store(path);
    store.SetValue("K", "kept", {1, Utf16("old")});
    const QByteArray before = ReadAll(path);

    store.SetBeforeReplaceHook([] { throw RegistryHiveError("power lost"); });
    EXPECT_THROW(store.SetValue("K", "new", {1, Utf16("new")}), RegistryHiveError);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + ".new"));
    EXPECT_FALSE(store.QueryValue("K", "new"));
    EXPECT_EQ(store.QueryValue("K", "kept"), (RegistryValue{1, Utf16("old")}));

    store.SetBeforeReplaceHook(nullptr);
    store.SetValue("K", "new", {1, Utf16("new")});
    EXPECT_EQ(UserRegistryStore(path).QueryValue("K", "new"), (RegistryValue{1, Utf16("new")}));
}

TEST(UserRegistryStore, AnUnchangedValueDoesNotRewriteTheFile)
{
    const QString path = ScratchFolder("store-unchanged") + "/user.reg";
    UserRegistryStore store(path);
    store.SetValue("K", "v", {4, Dword(1)});
    store.SetBeforeReplaceHook([] { throw std::logic_error("rewritten"); });
    EXPECT_NO_THROW(store.SetValue("K", "v", {4, Dword(1)}));
    EXPECT_NO_THROW(store.CreateKey("K"));
    EXPECT_FALSE(store.DeleteValue("K", "missing"));
}

TEST(UserRegistryStore, ADamagedFileIsMovedAsideAndReportedOnce)
{
    const QString folder = ScratchFolder("store-damaged");
    const QString path = folder + "/user.reg";
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"a\"=\"cut of";
    qmtest::WriteAll(path, damaged);

    ReportCollector reports;
    UserRegistryStore store(path);
    EXPECT_FALSE(store.QueryValue("K", "a"));
    EXPECT_FALSE(store.QueryValue("K", "a"));
    ASSERT_EQ(reports.Lines().size(), 1);
    EXPECT_TRUE(reports.Lines()[0].contains(path)) << reports.Lines()[0].toStdString();

    const QStringList copies = DamagedCopies(folder);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(ReadAll(folder + "/" + copies[0]), damaged) << "the user's file is kept as it was";
    EXPECT_FALSE(QFileInfo::exists(path));

    store.SetValue("K", "a", {1, Utf16("fresh")});
    EXPECT_EQ(UserRegistryStore(path).QueryValue("K", "a"), (RegistryValue{1, Utf16("fresh")}));
    EXPECT_EQ(reports.Lines().size(), 1);
}

TEST(UserRegistryStore, AWriteOverADamagedFileMovesItAsideFirst)
{
    const QString folder = ScratchFolder("store-damaged-write");
    const QString path = folder + "/user.reg";
    qmtest::WriteAll(path, QByteArray("\0\0\0\0\0\0", 6)); // a torn write leaves zeros
    ReportCollector reports;
    UserRegistryStore(path).SetValue("K", "a", {4, Dword(1)});
    EXPECT_EQ(DamagedCopies(folder).size(), 1);
    EXPECT_EQ(reports.Lines().size(), 1);
    EXPECT_EQ(UserRegistryStore(path).QueryValue("K", "a"), (RegistryValue{4, Dword(1)}));
}

TEST(UserRegistryStore, ThreadsWithStoresOfTheirOwnLoseNoValue)
{
    const QString path = ScratchFolder("store-threads") + "/user.reg";
    constexpr int kPerThread = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            UserRegistryStore store(path);
            for (int i = 0; i < kPerThread; ++i)
                store.SetValue("K", QStringLiteral("t%1-%2").arg(t).arg(i), {4, Dword(static_cast<quint32>(i))});
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(UserRegistryStore(path).ValueNames("K").size(), 3 * kPerThread);
}

TEST(UserRegistryStore, TwoProcessesWritingAtOnceLoseNoValue)
{
    const QString path = ScratchFolder("store-processes") + "/user.reg";
    constexpr int kPerProcess = 40;
    QProcess first;
    QProcess second;
    first.start(QUILLMARK_STORE_WRITER, {path, "A", QString::number(kPerProcess)});
    second.start(QUILLMARK_STORE_WRITER, {path, "B", QString::number(kPerProcess)});
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000)) << process->errorString().toStdString();
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    UserRegistryStore store(path);
    for (const QString tag : {"A", "B"}) {
        const QString key = "Software\\Race\\" + tag;
        ASSERT_EQ(store.ValueNames(key).size(), kPerProcess) << tag.toStdString();
        for (int i = 0; i < kPerProcess; ++i)
            EXPECT_EQ(store.QueryValue(key, tag + QString::number(i)), (RegistryValue{4, Dword(static_cast<quint32>(i))}));
        EXPECT_EQ(store.QueryValue("Software\\Race", "Last " + tag),
                  (RegistryValue{4, Dword(static_cast<quint32>(kPerProcess - 1))}));
    }
    EXPECT_FALSE(QFileInfo::exists(path + ".new"));
}
