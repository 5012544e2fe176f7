#include "app/FontCommands.h"

#include "app/FontProFrm.h"
#include "app/RenameFontFrm.h"
#include "operations/FontFileRename.h"
#include "operations/FontRegistryUnit.h"
#include "settings/ApplicationRegistrySettings.h"
#include "support/LoggerUnit.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include <exception>

namespace app {

namespace {

using operations::TFontOperation;
using settings::TFontViewerRegistrySettings;

constexpr int kExclamationSound = 48;

struct TCommandText {
    TFontCommand Command;
    const char* Name;
    const char* MenuText;
    const char* ButtonText;  // toolbar buttons and popup items
};

constexpr TCommandText kCommandTexts[] = {
    {TFontCommand::Install, "miFontInstall", "&Install Fonts", "&Install"},
    {TFontCommand::Uninstall, "miFontUninstall", "&Uninstall Fonts", "&Uninstall"},
    {TFontCommand::Load, "miFontLoad", "&Load Fonts", "&Load"},
    {TFontCommand::Unload, "miFontUnload", "U&nload Fonts", "Unloa&d"},
    {TFontCommand::Delete, "miEditDelete", "&Delete", "&Delete"},
    {TFontCommand::MoveToFolder, "miEditMoveSelectedFonts", "&Move to Folder...", "&Move to Folder..."},
    {TFontCommand::CopyToFolder, "miEditCopySelectedFonts", "C&opy to Folder...", "C&opy to Folder..."},
    {TFontCommand::Rename, "miEditRename", "&Rename", "&Rename..."},
};

QString PickFolder(QWidget* owner, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, title, start);
}

QString WithSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

bool FontCommandEnabled(TFontCommand command, const TFontSelection& selection)
{
    const bool cur = selection.SelectedFont != nullptr;
    const bool sel = !selection.Items.empty();
    const bool busy = selection.EnumerationRunning;
    switch (command) {
    case TFontCommand::Install:
    case TFontCommand::Uninstall:
    case TFontCommand::Load:
    case TFontCommand::Unload: return cur && !busy;
    case TFontCommand::CopyToFolder: return sel;
    case TFontCommand::Delete:
    case TFontCommand::MoveToFolder:
    case TFontCommand::Rename: return sel && !busy;
    }
    return false;
}

TFontCommands::TFontCommands(QWidget* owner)
    : QObject(owner)
    , FOwner(owner)
{
    for (const TCommandText& text : kCommandTexts) {
        auto* action = new QAction(QString::fromLatin1(text.MenuText), this);
        action->setObjectName(QLatin1String(text.Name));
        action->setIconText(QString::fromLatin1(text.ButtonText));
        const TFontCommand command = text.Command;
        connect(action, &QAction::triggered, this, [this, command] { Run(command); });
        FActions[static_cast<std::size_t>(command)] = action;
    }
    // Del and F2 belong to the font lists (the sample editor and the group tree have their
    // own): the main window adds these two actions to its list views.
    Action(TFontCommand::Delete)->setShortcut(QKeySequence(Qt::Key_Delete));
    Action(TFontCommand::Delete)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Action(TFontCommand::Rename)->setShortcut(QKeySequence(Qt::Key_F2));
    Action(TFontCommand::Rename)->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    ChooseFolder = [this](const QString& title, const QString& start) { return PickFolder(FOwner, title, start); };
    ShowMessage = [](const QString& message, support::TMessageKind kind, int sound) {
        support::WideMessageBox(message, kind, support::TMessageButtons::OK, sound);
    };
    ExecTaskWindow = [](TFontProForm& form) { return form.exec(); };
    ExecRenameForm = [](TRenameFontForm& form) { return form.exec() == QDialog::Accepted; };
    SetSelection(TFontSelection());
}

TFontCommands::~TFontCommands() = default;

void TFontCommands::SetSelection(const TFontSelection& selection)
{
    FSelection = selection;
    for (const TCommandText& text : kCommandTexts)
        Action(text.Command)->setEnabled(FontCommandEnabled(text.Command, FSelection));
}

void TFontCommands::Run(TFontCommand command)
{
    // A shortcut may fire before the timer disabled the action.
    if (!FontCommandEnabled(command, FSelection))
        return;
    switch (command) {
    case TFontCommand::Install: RunOnSelection(TFontOperation::Install); break;
    case TFontCommand::Uninstall: RunOnSelection(TFontOperation::Uninstall); break;
    case TFontCommand::Load: RunOnSelection(TFontOperation::Load); break;
    case TFontCommand::Unload: RunOnSelection(TFontOperation::Unload); break;
    case TFontCommand::Delete: RunOnSelection(TFontOperation::Delete); break;
    case TFontCommand::MoveToFolder: MoveOrCopy(TFontOperation::Move); break;
    case TFontCommand::CopyToFolder: MoveOrCopy(TFontOperation::Copy); break;
    case TFontCommand::Rename: Rename(); break;
    }
}

void TFontCommands::RunOnSelection(TFontOperation operation, const QString& destination)
{
    std::vector<const catalogue::TFontItem*> fonts(FSelection.Items.begin(), FSelection.Items.end());
    if (fonts.empty())
        return;
    RunOperation(operation, fonts, destination);
}

void TFontCommands::MoveOrCopy(TFontOperation operation)
{
    const QString title = operation == TFontOperation::Move
        ? QStringLiteral("Select a folder to move the font files to:")
        : QStringLiteral("Select a folder to copy the font files to:");
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
    const QString folder = ChooseFolder(title, settings.GetMoveAndCopyToFolder());
    if (folder.isEmpty())
        return;
    settings.SetMoveAndCopyToFolder(WithSeparator(folder));
    RunOnSelection(operation, WithSeparator(folder));
}

bool TFontCommands::RunOperation(TFontOperation operation, const std::vector<const catalogue::TFontItem*>& fonts,
                                 const QString& destination)
{
    TFontProForm form(FOwner);
    form.SetOperation(operation);
    form.SetDestinationFolder(destination);
    form.SetPreviewFont(FSelection.SelectedFont);
    form.AddSourceFonts(fonts);
    return ExecuteForm(form);
}

bool TFontCommands::RunGroupOperation(TFontOperation operation, const catalogue::TFontFamilyList& group)
{
    TFontProForm form(FOwner);
    form.SetOperation(operation);
    form.SetPreviewFont(FSelection.SelectedFont);
    form.AddSourceFamilies(group);
    return ExecuteForm(form);
}

bool TFontCommands::ExecuteForm(TFontProForm& form)
{
    form.OnFontsChanged = [this] { FontsChanged(); };
    if (CreateCatalogue)
        form.SetCatalogue(CreateCatalogue());
    if (UpdateStatusOfFace)
        form.SetStatusUpdater(UpdateStatusOfFace);
    form.Prepare();
    if (OnTaskWindowOpen)
        OnTaskWindowOpen(true);
    struct TWindowClosed {
        TFontCommands& Commands;
        ~TWindowClosed()
        {
            if (Commands.OnTaskWindowOpen)
                Commands.OnTaskWindowOpen(false);
        }
    } closed{*this};
    const bool ok = ExecTaskWindow(form) == QDialog::Accepted;
    if (ok)
        TFontViewerRegistrySettings::Instance().SetAutoCloseAfterSuccessfulFontOperation(!form.PinPressed());
    return ok;
}

void TFontCommands::FontsChanged()
{
    if (OnFontsChanged)
        OnFontsChanged();
}

void TFontCommands::Rename()
{
    catalogue::TFontItem* item = FSelection.FocusedFont;
    const auto refuse = [this](const QString& message) {
        ShowMessage(message, support::TMessageKind::Information, kExclamationSound);
    };
    if (!item) {
        refuse(QStringLiteral("No font item selected."));
        return;
    }
    if (item->FontFile().isEmpty()) {
        refuse(QStringLiteral("It is not possible to rename the font file of the selected font item, because the "
                              "source file is unknown."));
        return;
    }
    if (item->IsSystemFont()) {
        refuse(QStringLiteral("It is not possible to rename the font file of the selected font item, because this is "
                              "a system font."));
        return;
    }

    if (OnFileRenameRunning)
        OnFileRenameRunning(true);
    struct TClearFlag {
        TFontCommands& Commands;
        ~TClearFlag()
        {
            if (Commands.OnFileRenameRunning)
                Commands.OnFileRenameRunning(false);
        }
    } clearFlag{*this};

    TRenameFontForm form(FOwner);
    form.Prepare(item->DisplayName(), item->FontFile(), item->SecondFile());
    if (!ExecRenameForm(form))
        return;
    const QString oldFile = item->FontFile();
    const QString oldSecond = item->SecondFile();
    if (form.FontFile() == oldFile)
        return;

    operations::TFontFileRenameResult result;
    try {
        operations::TFontRegistry registry(true);
        result = operations::RenameFontFiles(*item, form.FontFile(), form.SecondFile(), registry);
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Rename %1: %2").arg(oldFile, QString::fromUtf8(error.what())));
        result.Outcome = operations::TRenameOutcome::Failed;
    }
    switch (result.Outcome) {
    case operations::TRenameOutcome::Unchanged: return;
    case operations::TRenameOutcome::FileExists:
        ShowMessage(QStringLiteral("Renaming failed. File %1 already exists.").arg(QFileInfo(result.ExistingFile).fileName()),
                    support::TMessageKind::Error, support::kNoSound);
        return;
    case operations::TRenameOutcome::Failed:
    case operations::TRenameOutcome::Succeeded: break;
    }
    if (result.Outcome == operations::TRenameOutcome::Succeeded && OnFontFileRenamed)
        OnFontFileRenamed(oldFile, oldSecond, item->FontFile(), item->SecondFile());
    if (OnSelectFont)
        OnSelectFont(item);
    if (result.Outcome == operations::TRenameOutcome::Failed) {
        ShowMessage(QStringLiteral("Renaming failed. The file might be in use by another process."),
                    support::TMessageKind::Information, support::kNoSound);
        return;
    }
    if (result.FontsChanged)
        FontsChanged();
}

} // namespace app
