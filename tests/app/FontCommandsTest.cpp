// The font operation commands: which are enabled for a selection, which operation each
// starts, and the rename command from refusal to renamed files.

#include "InstalledFontsTestSupport.h"

#include "app/FontCommands.h"
#include "app/FontProFrm.h"
#include "app/RenameFontFrm.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QAction>
#include <QLineEdit>
#include <QWidget>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using app::TFontCommand;
using app::TFontCommands;
using app::TFontSelection;
using operations::TFontOperation;
using settings::TFontViewerRegistrySettings;

constexpr TFontCommand kAll[] = {TFontCommand::Install, TFontCommand::Uninstall,    TFontCommand::Load,
                                 TFontCommand::Unload,  TFontCommand::Delete,       TFontCommand::MoveToFolder,
                                 TFontCommand::CopyToFolder, TFontCommand::Rename};

QString EnabledNames(const TFontCommands& commands)
{
    QStringList names;
    for (const TFontCommand command : kAll)
        if (commands.Action(command)->isEnabled())
            names << commands.Action(command)->objectName();
    return names.join(QLatin1Char(' '));
}

std::unique_ptr<catalogue::TFontItem> Face(const QString& family, const QString& file = QString())
{
    auto item = std::make_unique<catalogue::TFontItem>(family, false);
    item->SetFullName(family);
    item->SetFontFile(file);
    item->SetGdiTypeBits(4);
    item->SetFontKind(5);
    return item;
}

class FontCommands : public qmtest::InstalledFontsTest {
protected:
    void SetUp() override
    {
        InstalledFontsTest::SetUp();
        TFontViewerRegistrySettings::OpenApplicationSettings();
        FCommands = std::make_unique<TFontCommands>(&FOwner);
        FCommands->ShowMessage = [this](const QString& message, support::TMessageKind, int) { FMessages << message; };
    }

    QWidget FOwner;
    std::unique_ptr<TFontCommands> FCommands;
    QStringList FMessages;
};

TEST_F(FontCommands, EnabledStatesFollowTheSelection)
{
    auto first = Face(QStringLiteral("First"));
    auto second = Face(QStringLiteral("Second"));
    const QString all = "miFontInstall miFontUninstall miFontLoad miFontUnload miEditDelete miEditMoveSelectedFonts "
                        "miEditCopySelectedFonts miEditRename";
    const struct {
        const char* Name;
        bool Current;
        int Selected;
        bool Busy;
        QString Enabled;
    } cases[] = {
        {"nothing", false, 0, false, ""},
        {"nothing, busy", false, 0, true, ""},
        {"rows and a selected font", true, 2, false, all},
        {"one row and a selected font", true, 1, false, all},
        {"rows, busy", true, 2, true, "miEditCopySelectedFonts"},
        {"rows, no selected font", false, 1, false, "miEditDelete miEditMoveSelectedFonts miEditCopySelectedFonts miEditRename"},
        {"a selected font, no rows", true, 0, false, "miFontInstall miFontUninstall miFontLoad miFontUnload"},
        {"a selected font, no rows, busy", true, 0, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFontSelection selection;
        selection.List = app::TFontListKind::Browse;
        selection.SelectedFont = c.Current ? first.get() : nullptr;
        if (c.Selected > 0)
            selection.Items.push_back(first.get());
        if (c.Selected > 1)
            selection.Items.push_back(second.get());
        selection.EnumerationRunning = c.Busy;
        FCommands->SetSelection(selection);
        EXPECT_EQ(EnabledNames(*FCommands), c.Enabled);
    }
}

TEST_F(FontCommands, EachCommandStartsItsOperationOnTheSelectedRows)
{
    auto first = Face(QStringLiteral("First"), FOutside + "/first.ttf");
    auto second = Face(QStringLiteral("Second"), FOutside + "/second.ttf");
    const QString folder = qmtest::FreshFolder(FOutside + "/target");
    TFontSelection selection;
    selection.List = app::TFontListKind::Browse;
    selection.Items = {second.get(), first.get()};
    selection.SelectedFont = first.get();
    FCommands->SetSelection(selection);
    QStringList titles;
    FCommands->ChooseFolder = [&](const QString& title, const QString&) {
        titles << title;
        return folder;
    };
    struct TStarted {
        TFontOperation Operation;
        QString Destination;
        QStringList Families;
    } started;
    bool windowOpen = false;
    FCommands->OnTaskWindowOpen = [&](bool open) { windowOpen = open; };
    FCommands->ExecTaskWindow = [&](app::TFontProForm& form) {
        EXPECT_TRUE(windowOpen);
        started.Operation = form.Operation();
        started.Destination = form.Engine()->DestinationFolder();
        started.Families.clear();
        for (const auto& task : form.Tasks())
            started.Families << task->FamilyNameText();
        return static_cast<int>(QDialog::Rejected);
    };
    const struct {
        TFontCommand Command;
        TFontOperation Operation;
        bool Folder;
    } cases[] = {
        {TFontCommand::Install, TFontOperation::Install, false},
        {TFontCommand::Uninstall, TFontOperation::Uninstall, false},
        {TFontCommand::Load, TFontOperation::Load, false},
        {TFontCommand::Unload, TFontOperation::Unload, false},
        {TFontCommand::Delete, TFontOperation::Delete, false},
        {TFontCommand::MoveToFolder, TFontOperation::Move, true},
        {TFontCommand::CopyToFolder, TFontOperation::Copy, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FCommands->Action(c.Command)->objectName().toStdString());
        started = {};
        FCommands->Action(c.Command)->trigger();
        EXPECT_EQ(started.Operation, c.Operation);
        EXPECT_EQ(started.Families, QStringList({"Second", "First"}));
        EXPECT_EQ(started.Destination, c.Folder ? folder + "/" : QString());
        EXPECT_FALSE(windowOpen);
    }
    EXPECT_EQ(titles, QStringList({"Select a folder to move the font files to:",
                                   "Select a folder to copy the font files to:"}));
    EXPECT_EQ(TFontViewerRegistrySettings::Instance().GetMoveAndCopyToFolder(), folder + "/");

    // A cancelled folder picker starts nothing.
    FCommands->ChooseFolder = [](const QString&, const QString&) { return QString(); };
    started = {};
    started.Operation = TFontOperation::LoadGroup;
    FCommands->Action(TFontCommand::MoveToFolder)->trigger();
    EXPECT_EQ(started.Operation, TFontOperation::LoadGroup);
}

TEST_F(FontCommands, RenameRefusesWhatCannotBeRenamed)
{
    auto unknown = Face(QStringLiteral("Unknown"));
    auto system = Face(QStringLiteral("Marlett"), FOutside + "/marlett.ttf");
    auto any = Face(QStringLiteral("Any"));
    bool dialogShown = false;
    FCommands->ExecRenameForm = [&](app::TRenameFontForm&) { return dialogShown = true; };
    const struct {
        catalogue::TFontItem* Focused;
        const char* Message;
    } cases[] = {
        {nullptr, "No font item selected."},
        {unknown.get(), "It is not possible to rename the font file of the selected font item, because the source file is unknown."},
        {system.get(), "It is not possible to rename the font file of the selected font item, because this is a system font."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        FMessages.clear();
        TFontSelection selection;
        selection.Items = {any.get()};
        selection.FocusedFont = c.Focused;
        FCommands->SetSelection(selection);
        FCommands->Action(TFontCommand::Rename)->trigger();
        EXPECT_EQ(FMessages, QStringList{c.Message});
    }
    EXPECT_FALSE(dialogShown);
}

TEST_F(FontCommands, RenameMovesBothFilesOfAPairAndTellsTheMainWindow)
{
    const QString metrics = FOutside + "/Pair.pfm";
    const QString outline = FOutside + "/Pair.pfb";
    qmtest::WriteType1Pair(metrics, outline, "Pair-Regular");
    QFile::copy(metrics, FOutside + "/Taken.pfm");
    auto pair = Face(QStringLiteral("Pair"), metrics);
    pair->SetSecondFile(outline);
    pair->SetFontKind(3);
    pair->SetGdiTypeBits(2);
    TFontSelection selection;
    selection.Items = {pair.get()};
    selection.FocusedFont = pair.get();
    FCommands->SetSelection(selection);
    QString typed;
    FCommands->ExecRenameForm = [&](app::TRenameFontForm& form) {
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("edFileName"));
        edit->setText(typed);
        form.accept();
        return form.result() == QDialog::Accepted;
    };
    QStringList flags;
    FCommands->OnFileRenameRunning = [&](bool running) { flags << (running ? "on" : "off"); };
    QStringList renamed;
    FCommands->OnFontFileRenamed = [&](const QString& oldFile, const QString& oldSecond, const QString& newFile,
                                       const QString& newSecond) { renamed << oldFile << oldSecond << newFile << newSecond; };

    typed = QStringLiteral("Taken.pfm");
    FCommands->Action(TFontCommand::Rename)->trigger();
    EXPECT_EQ(FMessages, QStringList{"Renaming failed. File Taken.pfm already exists."});
    EXPECT_TRUE(renamed.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(metrics));

    FMessages.clear();
    typed = QStringLiteral("Renamed.pfm");
    FCommands->Action(TFontCommand::Rename)->trigger();
    EXPECT_TRUE(FMessages.isEmpty());
    EXPECT_EQ(renamed, QStringList({metrics, outline, FOutside + "/Renamed.pfm", FOutside + "/Renamed.pfb"}));
    EXPECT_TRUE(QFileInfo::exists(FOutside + "/Renamed.pfm"));
    EXPECT_TRUE(QFileInfo::exists(FOutside + "/Renamed.pfb"));
    EXPECT_FALSE(QFileInfo::exists(outline));
    EXPECT_EQ(pair->FontFile(), FOutside + "/Renamed.pfm");
    EXPECT_EQ(flags, QStringList({"on", "off", "on", "off"}));
}

} // namespace
