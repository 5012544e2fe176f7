#pragma once

// The main window's commands that start font operations: Install, Uninstall, Load, Unload,
// Delete, Move to Folder, Copy to Folder and Rename. Each is a QAction whose enabled state
// follows the selection it is given; the operations run in the font task window, and a
// rename in the rename dialog. What the main window must do afterwards (re-enumerate the
// active fonts, re-select a font, follow a renamed file) it learns through the callbacks.

#include "operations/FontOperationThreadUnit.h"
#include "support/WideMessageFrm.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QWidget;

namespace catalogue {
class TFontFamilyList;
class TFontItem;
} // namespace catalogue

namespace app {

class TFontProForm;
class TRenameFontForm;

enum class TFontListKind { None, Active, Browse, GroupFonts };

// What the commands are computed from.
struct TFontSelection {
    TFontListKind List = TFontListKind::None;          // the current list
    std::vector<catalogue::TFontItem*> Items;          // its selected rows, in row order
    catalogue::TFontItem* SelectedFont = nullptr;      // the main window's selected font
    catalogue::TFontItem* FocusedFont = nullptr;       // the current list's focused font
    bool EnumerationRunning = false;                   // the active-font enumeration runs
};

enum class TFontCommand { Install, Uninstall, Load, Unload, Delete, MoveToFolder, CopyToFolder, Rename };
inline constexpr int kFontCommandCount = 8;

bool FontCommandEnabled(TFontCommand command, const TFontSelection& selection);

class TFontCommands : public QObject {
    Q_OBJECT
public:
    // owner: the main window (parent of the actions and of the dialogs).
    explicit TFontCommands(QWidget* owner);
    ~TFontCommands() override;

    QAction* Action(TFontCommand command) const { return FActions[static_cast<std::size_t>(command)]; }

    // Recomputes the enabled states.
    void SetSelection(const TFontSelection& selection);
    const TFontSelection& Selection() const { return FSelection; }

    // Runs one operation on fonts in the task window (modal); true when the window closed
    // with OK. Codes 5, 6 and 7 need the destination.
    bool RunOperation(operations::TFontOperation operation, const std::vector<const catalogue::TFontItem*>& fonts,
                      const QString& destination = QString());
    // Loads or unloads every face of a group's catalogue (codes 8 and 9).
    bool RunGroupOperation(operations::TFontOperation operation, const catalogue::TFontFamilyList& group);

    // --- What the main window provides
    // After an operation or rename that changed the active fonts: set the font-change flag.
    std::function<void()> OnFontsChanged;
    // True while a task window is open. The window holds the selected font (deactivated
    // during the run) and reactivates it at the end, so the main window must not free that
    // face meanwhile: hold back re-enumerations and batches until this turns false.
    std::function<void(bool open)> OnTaskWindowOpen;
    // The file rename flag (Browse rescans wait while it is set).
    std::function<void(bool running)> OnFileRenameRunning;
    // After a rename: faces of the Browse catalogue with the old files take the new ones.
    std::function<void(const QString& oldFile, const QString& oldSecondFile, const QString& newFile,
                       const QString& newSecondFile)>
        OnFontFileRenamed;
    // Makes font the selected font again (refreshes the panes that show it).
    std::function<void(catalogue::TFontItem* font)> OnSelectFont;
    // The index and cache an operation consults and changes (called on the main thread);
    // operations::CreateGlobalFontOperationCatalogue() unless set.
    std::function<std::unique_ptr<operations::TFontOperationCatalogue>()> CreateCatalogue;
    // The status of a face that is not in the Active list, against the active fonts; the task
    // rows follow it. The task window's own (the global font manager's) unless set.
    std::function<void(catalogue::TFontItem& face)> UpdateStatusOfFace;

    // --- Dialogs, replaceable (tests)
    // A folder picker: the chosen folder, or empty when cancelled.
    std::function<QString(const QString& title, const QString& startFolder)> ChooseFolder;
    // Shows a message (button OK).
    std::function<void(const QString& message, support::TMessageKind kind, int sound)> ShowMessage;
    // Shows the prepared task window; answers its result. Default: exec().
    std::function<int(TFontProForm& form)> ExecTaskWindow;
    // Shows the prepared rename dialog; true on OK. Default: exec().
    std::function<bool(TRenameFontForm& form)> ExecRenameForm;

private:
    void Run(TFontCommand command);
    void RunOnSelection(operations::TFontOperation operation, const QString& destination = QString());
    void MoveOrCopy(operations::TFontOperation operation);
    void Rename();
    bool ExecuteForm(TFontProForm& form);
    void FontsChanged();

    QWidget* FOwner = nullptr;
    std::array<QAction*, kFontCommandCount> FActions{};
    TFontSelection FSelection;
};

} // namespace app
