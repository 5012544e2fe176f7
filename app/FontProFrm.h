#pragma once

// The font task window: the fonts one operation works on, its confirmations, progress and
// per-font results. It runs a TFontOperationThread; the engine's events reach the window on
// the main thread (the worker waits meanwhile), so no worker ever touches a widget.

#include "operations/FontOperationThreadUnit.h"
#include "support/WideMessageFrm.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace catalogue {
class TFontFamilyList;
class TFontItem;
} // namespace catalogue

namespace app {

class TFontProForm : public QDialog {
    Q_OBJECT
public:
    // A question of the window: its caption and message; answers the warning box's result.
    using TConfirmation =
        std::function<support::TWarningBoxAnswer(QWidget* owner, const QString& caption, const QString& message)>;

    explicit TFontProForm(QWidget* parent = nullptr);
    // Waits for a run still going (it is stopped first).
    ~TFontProForm() override;

    void SetOperation(operations::TFontOperation operation) { FOperation = operation; }
    operations::TFontOperation Operation() const { return FOperation; }
    // Codes 5, 6 and 7.
    void SetDestinationFolder(const QString& folder) { FDestinationFolder = folder; }
    // The main window's preview font: deactivated while the run goes, so that its files can
    // move; reactivated at the end. Not owned; may be null.
    void SetPreviewFont(catalogue::TFontItem* font) { FPreviewFont = font; }
    // One task per font, in this order (copies: the sources may go meanwhile).
    void AddSourceFonts(const std::vector<const catalogue::TFontItem*>& fonts);
    // Every face of a group's catalogue, family by family.
    void AddSourceFamilies(const catalogue::TFontFamilyList& families);
    // The warning box unless replaced.
    void SetConfirmation(TConfirmation confirmation) { FConfirmation = std::move(confirmation); }
    // The index and cache the engine consults and changes (called on the main thread only);
    // operations::CreateGlobalFontOperationCatalogue() unless set.
    void SetCatalogue(std::unique_ptr<operations::TFontOperationCatalogue> catalogue);
    // Recomputes the status flags of a face that is not in the Active list (the rows' status
    // follows the operation); the global font manager's UpdateStatusOfNonActiveFace unless set.
    void SetStatusUpdater(std::function<void(catalogue::TFontItem& face)> updater) { FStatusUpdater = std::move(updater); }

    // Title, stored position and columns, the pin, the rows, and the engine (not started).
    void Prepare();
    // The engine Prepare made, until the window is shown (its options may still be changed).
    operations::TFontOperationThread* Engine() const { return FEngine.get(); }

    // Whether the window stays open after a successful run.
    bool PinPressed() const;
    bool Running() const { return FRunning || FStopping; }
    const std::vector<std::unique_ptr<operations::TFontItemPro>>& Tasks() const { return FTasks; }

    // Called at the end of a run that processed at least one task: the fonts changed.
    std::function<void()> OnFontsChanged;

    // The summary of a run: "All 5 tasks processed. 2 tasks failed." and the like.
    static QString SummaryText(int processed, int failed, int total);

    void reject() override;
    void done(int result) override;

signals:
    // After the window handled the engine's font done event.
    void FontDone(operations::TFontItemPro* item);
    // After the window handled the end of the run.
    void RunFinished(operations::TThreadState state);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Start();
    void StopOrClose();
    void EngineStart(bool& continueRun);
    void EngineProgress(const QString& text, int percent);
    void EngineFontDone(operations::TFontItemPro* item);
    void EngineFinished(operations::TThreadState state);
    bool Confirm();
    void RefreshRows();
    void SortBy(int column);
    QString CaptionWord() const;
    QString ColumnLayoutName() const;

    std::vector<std::unique_ptr<operations::TFontItemPro>> FTasks;
    qint64 FLastRepaintTick = 0;
    catalogue::TFontItem* FPreviewFont = nullptr;
    operations::TFontOperation FOperation = operations::TFontOperation::Install;
    QString FDestinationFolder;
    std::unique_ptr<operations::TFontOperationThread> FEngine;
    TConfirmation FConfirmation;
    std::unique_ptr<operations::TFontOperationCatalogue> FCatalogue;
    std::function<void(catalogue::TFontItem&)> FStatusUpdater;
    bool FStarted = false;
    bool FRunning = false;
    bool FStopping = false;    // stopped; the engine has not ended yet
    bool FDestroying = false;
    int FSortColumn = -1;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;

    QTreeWidget* vstFonts = nullptr;
    QLabel* lblAction = nullptr;
    QProgressBar* pbProgress = nullptr;
    QToolButton* sbAutoClose = nullptr;
    QPushButton* btnStop = nullptr;
};

} // namespace app
