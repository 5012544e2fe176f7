// The font task window running real load, uninstall and unload tasks on files made in the
// isolated environment: statuses, summary, Stop, the pin and the confirmations.

#include "InstalledFontsTestSupport.h"

#include "app/FontProFrm.h"
#include "app/WindowPosition.h"
#include "platform/Places.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace qmtest;
using app::TFontProForm;
using catalogue::TFontItem;
using operations::TFontOperation;
using operations::TThreadState;
using settings::TFontViewerRegistrySettings;
namespace FontStatus = catalogue::FontStatus;

const QString kUninstallRefused =
    QStringLiteral("Uninstall not allowed on system fonts. See the help file for more information about system fonts.");

class FontProForm : public InstalledFontsTest {
protected:
    void SetUp() override
    {
        InstalledFontsTest::SetUp();
        FFont = SystemTrueTypeFont();
        if (FFont.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("fc-list")).isEmpty())
            GTEST_SKIP() << "needs fc-list and a TrueType font";
        QDir(platform::places::SessionFolder()).removeRecursively();
        TFontViewerRegistrySettings::OpenApplicationSettings();
        TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
        settings.SetBackupFontsFolder(FreshFolder(FOutside + "/../backup"));
        settings.SetAutoCloseAfterSuccessfulFontOperation(true);
        settings.SetWarnFontOperationUninstall(true);
        settings.SetWarnFontOperationUnloadWhenInstalled(true);
        settings.SetWarnFontOperationDelete(true);
    }

    // A copy of the real font outside every font folder; the index makes its bytes differ.
    QString FontCopy(int index)
    {
        return CopyOfFont(FFont, FOutside + QStringLiteral("/Copy%1.ttf").arg(index), QByteArray::number(index));
    }

    QString DamagedFont(int index)
    {
        const QString path = FOutside + QStringLiteral("/Damaged%1.ttf").arg(index);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(512, 'x'));
        return path;
    }

    void Face(const QString& file, const QString& family, int gdiTypeBits = 4)
    {
        auto item = std::make_unique<TFontItem>(family, false);
        item->SetFullName(family);
        item->SetRegistryName(family + QStringLiteral(" (TrueType)"));
        item->SetFontFile(file);
        item->SetFontKind(5);
        item->SetGdiTypeBits(gdiTypeBits);
        item->SetOS2Read(true);
        item->SetOS2Regular(true);
        FFaces.push_back(std::move(item));
    }

    std::vector<const TFontItem*> Faces() const
    {
        std::vector<const TFontItem*> faces;
        for (const auto& face : FFaces)
            faces.push_back(face.get());
        return faces;
    }

    // Shows the window (not modally) and waits for the end of its run.
    void Run(TFontProForm& form, TFontOperation operation)
    {
        form.SetOperation(operation);
        form.AddSourceFonts(Faces());
        form.Prepare();
        FFinished = false;
        QObject::connect(&form, &TFontProForm::RunFinished, [this](TThreadState state) {
            FFinished = true;
            FState = state;
        });
        form.show();
        const QDeadlineTimer deadline(120000);
        while (!FFinished && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(FFinished);
    }

    static QStringList StatusColumn(const TFontProForm& form)
    {
        const auto* list = form.findChild<QTreeWidget*>(QStringLiteral("vstFonts"));
        QStringList texts;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            texts << list->topLevelItem(r)->text(2);
        return texts;
    }

    static QString Summary(const TFontProForm& form)
    {
        return form.findChild<QLabel*>(QStringLiteral("lblAction"))->text();
    }

    static QPushButton* StopButton(const TFontProForm& form)
    {
        return form.findChild<QPushButton*>(QStringLiteral("btnStop"));
    }

    QString FFont;
    std::vector<std::unique_ptr<TFontItem>> FFaces;
    bool FFinished = false;
    TThreadState FState = TThreadState::Created;
};

TEST_F(FontProForm, TenLoadTasksShowTheirStatusesAndTheSummary)
{
    QStringList expected;
    for (int i = 0; i < 10; ++i) {
        const bool damaged = i == 4 || i == 7;
        Face(damaged ? DamagedFont(i) : FontCopy(i), QStringLiteral("Load Test %1").arg(i));
        expected << (damaged ? QStringLiteral("Failed to load the font.") : QStringLiteral("Succeeded"));
    }
    TFontProForm form;
    int changes = 0;
    form.OnFontsChanged = [&] { ++changes; };
    Run(form, TFontOperation::Load);

    EXPECT_EQ(FState, TThreadState::Completed);
    EXPECT_EQ(form.windowTitle(), "Load Fonts");
    EXPECT_EQ(StatusColumn(form), expected);
    EXPECT_EQ(Summary(form), "All 10 tasks processed. 2 tasks failed.");
    EXPECT_EQ(StopButton(form)->text(), "Close");
    // Failures keep the window open although the pin is not pressed.
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(changes, 1);

    // Close stores the window's place under the operation's own key.
    StopButton(form)->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const QString key = TFontViewerRegistrySettings::ApplicationBaseKey() + "\\Position\\Fonts Window\\Load";
    EXPECT_FALSE(app::ReadRegistryText(key, "Position", {}).isEmpty());
}

TEST_F(FontProForm, StopAfterTheThirdTaskLeavesTheRestAborted)
{
    for (int i = 0; i < 10; ++i)
        Face(FontCopy(i), QStringLiteral("Stop Test %1").arg(i));
    TFontProForm form;
    int done = 0;
    QObject::connect(&form, &TFontProForm::FontDone, [&](operations::TFontItemPro*) {
        if (++done == 3) {
            // Escape does not close a running window.
            form.reject();
            EXPECT_TRUE(form.isVisible());
            StopButton(form)->click();
            // Stopping: the window cannot be closed until the engine has ended.
            StopButton(form)->click();
            EXPECT_TRUE(form.isVisible());
        }
    });
    Run(form, TFontOperation::Load);

    EXPECT_EQ(FState, TThreadState::StoppedByUser);
    const QStringList statuses = StatusColumn(form);
    ASSERT_EQ(statuses.size(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(statuses[i], i < 3 ? "Succeeded" : "Aborted") << i;
    EXPECT_EQ(Summary(form), "3 out of 10 tasks are processed.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(StopButton(form)->isEnabled());
    EXPECT_EQ(StopButton(form)->text(), "Close");
}

TEST_F(FontProForm, AFullySuccessfulRunClosesByItselfUnlessPinned)
{
    for (const bool pinned : {false, true}) {
        SCOPED_TRACE(pinned ? "pinned" : "not pinned");
        FFaces.clear();
        Face(FontCopy(pinned ? 21 : 20), pinned ? QStringLiteral("Pinned Test") : QStringLiteral("Unpinned Test"));
        TFontViewerRegistrySettings::Instance().SetAutoCloseAfterSuccessfulFontOperation(!pinned);
        TFontProForm form;
        Run(form, TFontOperation::Load);
        EXPECT_EQ(form.PinPressed(), pinned);
        EXPECT_EQ(Summary(form), "The task is processed.");
        EXPECT_EQ(form.isVisible(), pinned);
        if (!pinned)
            EXPECT_EQ(form.result(), QDialog::Accepted);
    }
}

TEST_F(FontProForm, ASystemFontIsRefusedAfterTheConfirmation)
{
    struct TCase {
        const char* Name;
        support::TMessageResult Answer;
        bool ShowAgain;
        QString Status;
        const char* Summary;
        bool WarningAfterwards;
    };
    const TCase cases[] = {
        {"yes", support::TMessageResult::Yes, true, kUninstallRefused, "The task is processed. 1 tasks failed.", true},
        {"yes, don't ask again", support::TMessageResult::Yes, false, kUninstallRefused,
         "The task is processed. 1 tasks failed.", false},
        {"no", support::TMessageResult::No, true, QStringLiteral("Aborted"), "The task is not processed.", true},
        {"escape", support::TMessageResult::Cancel, false, QStringLiteral("Aborted"), "The task is not processed.", true},
    };
    const QString file = FontCopy(30);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFontViewerRegistrySettings::Instance().SetWarnFontOperationUninstall(true);
        FFaces.clear();
        Face(file, QStringLiteral("Marlett"));
        FFaces.back()->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
        TFontProForm form;
        QStringList asked;
        form.SetConfirmation([&](QWidget* owner, const QString& caption, const QString& message) {
            EXPECT_EQ(owner, &form);
            asked << caption << message;
            return support::TWarningBoxAnswer{c.Answer, c.ShowAgain};
        });
        Run(form, TFontOperation::Uninstall);
        EXPECT_EQ(asked, QStringList({"Confirm uninstall", "Are you sure you want to uninstall 'Marlett'?"}));
        EXPECT_EQ(StatusColumn(form), QStringList{c.Status});
        EXPECT_EQ(Summary(form), c.Summary);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(TFontViewerRegistrySettings::Instance().GetWarnFontOperationUninstall(), c.WarningAfterwards);
        EXPECT_TRUE(QFileInfo::exists(file));
    }
}

TEST_F(FontProForm, TheWarningBoxAsksAndItsCheckBoxSwitchesTheWarningOff)
{
    Face(FOutside + "/missing.ttf", QStringLiteral("Box Test"));
    QString shownMessage;
    // Answers the warning box when it appears: the box is modal, so it is served from a timer.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QLatin1String("WideWarningForm"))
            return;
        answer.stop();
        shownMessage = box->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
        box->findChild<QCheckBox*>(QStringLiteral("cbDontShowAgain"))->setChecked(true);
        box->findChild<QPushButton*>(QStringLiteral("btnYes"))->click();
    });
    answer.start(20);
    TFontProForm form;
    Run(form, TFontOperation::Uninstall);
    EXPECT_EQ(shownMessage, "Are you sure you want to uninstall 'Box Test'?");
    EXPECT_FALSE(TFontViewerRegistrySettings::Instance().GetWarnFontOperationUninstall());
    EXPECT_NE(StatusColumn(form).value(0), "Aborted");
}

TEST_F(FontProForm, ConfirmationsAskWhatTheOperationNeeds)
{
    const QString installed = FontCopy(40);
    const QString missing = FOutside + "/missing.ttf";
    const QString link = FOutside + "/Old Font.lnk";
    ASSERT_TRUE(QFile::link(installed, link));
    struct TCase {
        const char* Name;
        TFontOperation Operation;
        int Count;
        bool Installed;
        bool Shortcut;
        bool WarningOn;
        QStringList Asked;
    };
    const QString unloadOne = QStringLiteral(
        "This font is currently installed. The next time you start Windows, it will be activated again. To "
        "permanently deactivate a font, you should uninstall it. Are you sure you want to unload 'Ask Test'?");
    const QString unloadMany = QStringLiteral(
        "One or more of these fonts are currently installed. The next time you start Windows, they will be "
        "activated again. To permanently deactivate a font, you should uninstall it. Are you sure you want to "
        "unload these 2 items?");
    const TCase cases[] = {
        {"uninstall two", TFontOperation::Uninstall, 2, false, false, true,
         {"Confirm uninstall", "Are you sure you want to uninstall these 2 items?"}},
        {"uninstall, warning off", TFontOperation::Uninstall, 1, false, false, false, {}},
        {"unload an installed font", TFontOperation::Unload, 1, true, false, true, {"Confirm unload", unloadOne}},
        {"unload installed fonts", TFontOperation::Unload, 2, true, false, true, {"Confirm unload", unloadMany}},
        {"unload a font that is not installed", TFontOperation::Unload, 1, false, false, true, {}},
        {"unload a group", TFontOperation::UnloadGroup, 2, true, false, true, {}},
        {"delete one", TFontOperation::Delete, 1, false, false, true,
         {"Confirm delete", "Are you sure you want to delete 'Ask Test'?"}},
        {"delete a shortcut", TFontOperation::Delete, 1, false, true, true,
         {"Confirm delete", "Are you sure you want to delete 'Shortcut to Old Font'?"}},
        {"delete three", TFontOperation::Delete, 3, false, false, true,
         {"Confirm delete", "Are you sure you want to delete these 3 items?"}},
        {"load", TFontOperation::Load, 1, true, false, true, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
        settings.SetWarnFontOperationUninstall(c.WarningOn);
        settings.SetWarnFontOperationUnloadWhenInstalled(c.WarningOn);
        settings.SetWarnFontOperationDelete(c.WarningOn);
        FFaces.clear();
        for (int i = 0; i < c.Count; ++i) {
            // Missing files: what runs after an unasked question fails harmlessly.
            Face(missing, QStringLiteral("Ask Test"));
            if (c.Installed)
                FFaces.back()->SetStatusFlags(FontStatus::Installed);
            if (c.Shortcut) {
                FFaces.back()->SetViaShortcut(true);
                FFaces.back()->SetShortcutPath(link);
            }
        }
        TFontProForm form;
        QStringList asked;
        form.SetConfirmation([&](QWidget*, const QString& caption, const QString& message) {
            asked << caption << message;
            return support::TWarningBoxAnswer{support::TMessageResult::No, true};
        });
        Run(form, c.Operation);
        EXPECT_EQ(asked, c.Asked);
        if (!c.Asked.isEmpty())
            EXPECT_EQ(StatusColumn(form), QStringList(QList<QString>(c.Count, QStringLiteral("Aborted"))));
    }
    EXPECT_TRUE(QFileInfo::exists(link));
}

TEST_F(FontProForm, AHeaderClickSortsAndTypingSearchesTheSortColumn)
{
    for (const char* name : {"b.ttf", "c.ttf", "a.ttf"})
        Face(FOutside + "/" + name, QStringLiteral("Family %1").arg(QLatin1String(name)));
    TFontProForm form;
    form.SetOperation(TFontOperation::Copy);
    form.AddSourceFonts(Faces());
    form.Prepare();  // not shown: nothing runs
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("vstFonts"));
    const auto column = [&](int index) {
        QStringList texts;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            texts << list->topLevelItem(r)->text(index);
        return texts;
    };
    EXPECT_EQ(column(3), QStringList({"b.ttf", "c.ttf", "a.ttf"}));
    emit list->header()->sectionClicked(3);
    EXPECT_EQ(column(3), QStringList({"a.ttf", "b.ttf", "c.ttf"}));
    emit list->header()->sectionClicked(3);
    EXPECT_EQ(column(3), QStringList({"c.ttf", "b.ttf", "a.ttf"}));
    list->keyboardSearch(QStringLiteral("a"));
    ASSERT_TRUE(list->currentItem());
    EXPECT_EQ(list->currentItem()->text(3), "a.ttf");
    // Another column starts ascending again.
    emit list->header()->sectionClicked(0);
    EXPECT_EQ(column(3), QStringList({"a.ttf", "b.ttf", "c.ttf"}));
}

TEST(FontProFormSummary, TextsByProcessedFailedAndTotal)
{
    const struct {
        int Processed, Failed, Total;
        const char* Text;
    } cases[] = {
        {1, 0, 1, "The task is processed."},
        {0, 0, 1, "The task is not processed."},
        {1, 1, 1, "The task is processed. 1 tasks failed."},
        {5, 2, 5, "All 5 tasks processed. 2 tasks failed."},
        {4, 0, 10, "4 out of 10 tasks are processed."},
        {10, 0, 10, "All 10 tasks processed."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFontProForm::SummaryText(c.Processed, c.Failed, c.Total), c.Text);
}

} // namespace
