#include "app/FontProFrm.h"

#include "app/FontProFrmCatalogue.h"
#include "app/WindowPosition.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/GlobalFontManagerUnit.h"
#include "settings/ApplicationRegistrySettings.h"
#include "support/LoggerUnit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdlib>
#include <exception>

namespace app {

namespace {

using operations::TFontItemPro;
using operations::TFontOperation;
using operations::TThreadState;
using settings::TFontViewerRegistrySettings;

constexpr QSize kMinimumSize{400, 300};
constexpr qint64 kRepaintIntervalMs = 50;
constexpr int kExclamationSound = 48;
constexpr int kButtonBottomMargin = 6;

enum TColumn { ColFamily = 0, ColStyle, ColStatus, ColFileName, ColFolder };

qint64 Tick() { return QDateTime::currentMSecsSinceEpoch(); }

QString FolderWithoutSeparator(const QString& file)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : file.left(slash);
}

// The shortcut's own name for a shortcut item, else the font file.
QString ShownFile(const TFontItemPro& task) { return task.ViaShortcut() ? task.ShortcutPath() : task.FontFile(); }

support::TWarningBoxAnswer WarningBox(QWidget* owner, const QString& caption, const QString& message)
{
    return support::WideWarningBox(owner, caption, message, true, kExclamationSound,
                                   support::TMessageKind::Information);
}

} // namespace

TFontProForm::TFontProForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , FConfirmation(WarningBox)
    , FStatusUpdater([](catalogue::TFontItem& face) {
        catalogue::TGlobalFontManager::Instance().UpdateStatusOfNonActiveFace(face);
    })
{
    setObjectName(QStringLiteral("FontProForm"));
    setSizeGripEnabled(true);
    setMinimumSize(kMinimumSize);
    auto* layout = new QVBoxLayout(this);

    vstFonts = new QTreeWidget(this);
    vstFonts->setObjectName(QStringLiteral("vstFonts"));
    vstFonts->setRootIsDecorated(false);
    vstFonts->setUniformRowHeights(true);
    vstFonts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    vstFonts->setHeaderLabels({QStringLiteral("Font Family Name"), QStringLiteral("Font Style"), QStringLiteral("Status"),
                               QStringLiteral("File Name"), QStringLiteral("Folder")});
    vstFonts->header()->setSectionsClickable(true);
    vstFonts->header()->setSortIndicatorShown(false);
    connect(vstFonts->header(), &QHeaderView::sectionClicked, this, &TFontProForm::SortBy);
    layout->addWidget(vstFonts, 1);

    auto* pnlBottom = new QWidget(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    auto* bottom = new QVBoxLayout(pnlBottom);
    bottom->setContentsMargins(0, 0, 0, kButtonBottomMargin);
    lblAction = new QLabel(pnlBottom);
    lblAction->setObjectName(QStringLiteral("lblAction"));
    bottom->addWidget(lblAction);
    pbProgress = new QProgressBar(pnlBottom);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    bottom->addWidget(pbProgress);
    auto* buttons = new QHBoxLayout;
    sbAutoClose = new QToolButton(pnlBottom);
    sbAutoClose->setObjectName(QStringLiteral("sbAutoClose"));
    sbAutoClose->setCheckable(true);
    sbAutoClose->setText(QStringLiteral("Pin"));
    sbAutoClose->setToolTip(QStringLiteral("Keep this window open when the operation succeeded"));
    btnStop = new QPushButton(QStringLiteral("&Stop"), pnlBottom);
    btnStop->setObjectName(QStringLiteral("btnStop"));
    connect(btnStop, &QPushButton::clicked, this, &TFontProForm::StopOrClose);
    // The pin sits at the left; the button stays centred as the window is resized.
    buttons->addWidget(sbAutoClose);
    buttons->addStretch(1);
    buttons->addWidget(btnStop);
    buttons->addStretch(1);
    buttons->addSpacing(sbAutoClose->sizeHint().width());
    bottom->addLayout(buttons);
    layout->addWidget(pnlBottom);
    resize(560, 360);
}

TFontProForm::~TFontProForm()
{
    FDestroying = true;
    if (FEngine && FEngine->isRunning()) {
        // The worker may be waiting for one of our handlers: serve its calls until it ends.
        FEngine->Stop();
        while (!FEngine->wait(10))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void TFontProForm::AddSourceFonts(const std::vector<const catalogue::TFontItem*>& fonts)
{
    for (const catalogue::TFontItem* font : fonts) {
        if (!font)
            continue;
        auto task = std::make_unique<TFontItemPro>(font->FamilyNameText(), font->ActiveListItem());
        task->CopyFrom(*font);
        task->SetFaceIndex(font->FaceIndex());
        // The regular-face test of the display name reads these; the task shows the
        // source's own name.
        task->SetOS2Read(font->OS2Read());
        task->SetOS2Regular(font->OS2Regular());
        FTasks.push_back(std::move(task));
    }
}

void TFontProForm::AddSourceFamilies(const catalogue::TFontFamilyList& families)
{
    std::vector<const catalogue::TFontItem*> fonts;
    for (int f = 0; f < families.Count(); ++f) {
        const catalogue::TFontFamilyItem* family = families.Family(f);
        for (int i = 0; i < family->Count(); ++i)
            fonts.push_back(family->Item(i));
    }
    AddSourceFonts(fonts);
}

QString TFontProForm::CaptionWord() const { return operations::OperationCaptionWord(FOperation); }

QString TFontProForm::ColumnLayoutName() const { return CaptionWord() + QStringLiteral(" Fonts"); }

void TFontProForm::Prepare()
{
    setWindowTitle(CaptionWord() + QStringLiteral(" Fonts"));
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
    RememberDialogPosition(*this, TFontViewerRegistrySettings::ApplicationBaseKey()
                                      + QStringLiteral("\\Position\\Fonts Window\\") + CaptionWord());
    QByteArray columns;
    if (settings.LoadColumnLayout(ColumnLayoutName(), columns) && !vstFonts->header()->restoreState(columns))
        support::LogError(QStringLiteral("The column layout %1 could not be applied").arg(ColumnLayoutName()));
    // Pressed means the window stays open.
    sbAutoClose->setChecked(!settings.GetAutoCloseAfterSuccessfulFontOperation());

    vstFonts->clear();
    for (std::size_t i = 0; i < FTasks.size(); ++i) {
        const TFontItemPro& task = *FTasks[i];
        auto* row = new QTreeWidgetItem(vstFonts);
        row->setData(ColFamily, Qt::UserRole, static_cast<int>(i));
        row->setText(ColFamily, task.FamilyNameText());
        row->setText(ColStyle, task.StyleText());
        row->setText(ColFileName, QFileInfo(ShownFile(task)).fileName());
        row->setText(ColFolder, FolderWithoutSeparator(ShownFile(task)));
        FTasks[i]->SetNode(static_cast<int>(i));
    }

    FEngine = std::make_unique<operations::TFontOperationThread>();
    FEngine->SetOperation(FOperation);
    FEngine->SetDestinationFolder(FDestinationFolder);
    std::vector<TFontItemPro*> tasks;
    for (const auto& task : FTasks)
        tasks.push_back(task.get());
    FEngine->SetTasks(std::move(tasks));
    if (!FCatalogue)
        FCatalogue = operations::CreateGlobalFontOperationCatalogue();
    FEngine->SetCatalogue(std::make_unique<TMainThreadFontCatalogue>(this, std::move(FCatalogue)));
}

void TFontProForm::SetCatalogue(std::unique_ptr<operations::TFontOperationCatalogue> catalogue)
{
    FCatalogue = std::move(catalogue);
}

bool TFontProForm::PinPressed() const { return sbAutoClose->isChecked(); }

void TFontProForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!FStarted)
        Start();
}

void TFontProForm::Start()
{
    FStarted = true;
    if (!FEngine)
        Prepare();
    FEngine->OnStart = [this](operations::TFontOperationThread*, bool& continueRun) { EngineStart(continueRun); };
    FEngine->OnProgress = [this](const QString& text, int percent) { EngineProgress(text, percent); };
    FEngine->OnFontDone = [this](operations::TFontOperationThread*, TFontItemPro* item) { EngineFontDone(item); };
    FEngine->OnFinished = [this](operations::TFontOperationThread*, TThreadState state) { EngineFinished(state); };
    FRunning = true;
    FEngine->start();
}

bool TFontProForm::Confirm()
{
    TFontViewerRegistrySettings& settings = TFontViewerRegistrySettings::Instance();
    const std::size_t count = FTasks.size();
    if (count == 0)
        return true;
    const TFontItemPro& first = *FTasks.front();
    const QString countText = QString::number(count);
    QString caption;
    QString message;
    std::function<void(bool)> store;
    switch (FOperation) {
    case TFontOperation::Uninstall:
        if (!settings.GetWarnFontOperationUninstall())
            return true;
        caption = QStringLiteral("Confirm uninstall");
        message = count == 1
            ? QStringLiteral("Are you sure you want to uninstall '") + first.DisplayName() + QStringLiteral("'?")
            : QStringLiteral("Are you sure you want to uninstall these ") + countText + QStringLiteral(" items?");
        store = [&settings](bool on) { settings.SetWarnFontOperationUninstall(on); };
        break;
    case TFontOperation::Unload: {
        // Group unloads are not asked.
        if (!settings.GetWarnFontOperationUnloadWhenInstalled())
            return true;
        bool anyInstalled = false;
        for (const auto& task : FTasks)
            anyInstalled = anyInstalled || task->HasStatus(catalogue::FontStatus::Installed);
        if (!anyInstalled)
            return true;
        caption = QStringLiteral("Confirm unload");
        message = count == 1
            ? QStringLiteral("This font is currently installed. The next time you start Windows, it will be activated "
                             "again. To permanently deactivate a font, you should uninstall it. Are you sure you want "
                             "to unload '")
                + first.DisplayName() + QStringLiteral("'?")
            : QStringLiteral("One or more of these fonts are currently installed. The next time you start Windows, they "
                             "will be activated again. To permanently deactivate a font, you should uninstall it. Are "
                             "you sure you want to unload these ")
                + countText + QStringLiteral(" items?");
        store = [&settings](bool on) { settings.SetWarnFontOperationUnloadWhenInstalled(on); };
        break;
    }
    case TFontOperation::Delete:
        if (!settings.GetWarnFontOperationDelete())
            return true;
        caption = QStringLiteral("Confirm delete");
        if (count > 1)
            message = QStringLiteral("Are you sure you want to delete these ") + countText + QStringLiteral(" items?");
        else if (first.ViaShortcut())
            message = QStringLiteral("Are you sure you want to delete 'Shortcut to ")
                + QFileInfo(first.ShortcutPath()).completeBaseName() + QStringLiteral("'?");
        else
            message = QStringLiteral("Are you sure you want to delete '") + first.DisplayName() + QStringLiteral("'?");
        store = [&settings](bool on) { settings.SetWarnFontOperationDelete(on); };
        break;
    default:
        return true;
    }
    const support::TWarningBoxAnswer answer = FConfirmation(this, caption, message);
    if (answer.Result != support::TMessageResult::Yes)
        return false;
    store(answer.ShowAgain);
    return true;
}

void TFontProForm::EngineStart(bool& continueRun)
{
    if (FDestroying) {
        continueRun = false;
        return;
    }
    try {
        continueRun = Confirm();
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("In TFontProForm confirmation - ") + QString::fromUtf8(error.what()));
        continueRun = false;
    }
    if (continueRun && FPreviewFont)
        FPreviewFont->SetActive(false);
}

void TFontProForm::EngineProgress(const QString& text, int percent)
{
    if (FDestroying || FStopping)
        return;
    if (lblAction->text() != text)
        lblAction->setText(text);
    pbProgress->setValue(percent);
}

void TFontProForm::EngineFontDone(TFontItemPro* item)
{
    if (FDestroying)
        return;
    if (std::llabs(Tick() - FLastRepaintTick) > kRepaintIntervalMs)
        RefreshRows();
    emit FontDone(item);
}

QString TFontProForm::SummaryText(int processed, int failed, int total)
{
    QString text;
    if (total == 1)
        text = processed > 0 ? QStringLiteral("The task is processed.") : QStringLiteral("The task is not processed.");
    else if (processed < total)
        text = QStringLiteral("%1 out of %2 tasks are processed.").arg(processed).arg(total);
    else
        text = QStringLiteral("All %1 tasks processed.").arg(total);
    if (failed > 0)
        text += QStringLiteral(" %1 tasks failed.").arg(failed);
    return text;
}

void TFontProForm::EngineFinished(TThreadState state)
{
    if (FDestroying)
        return;
    FRunning = false;
    FStopping = false;
    const int succeeded = FEngine->SucceededCount();
    const int failed = FEngine->FailedCount();
    const int processed = succeeded + failed;
    const int total = static_cast<int>(FTasks.size());
    lblAction->setText(SummaryText(processed, failed, total));
    RefreshRows();
    btnStop->setText(QStringLiteral("Close"));
    btnStop->setEnabled(true);
    btnStop->setDefault(true);
    btnStop->setFocus();
    if (FPreviewFont)
        FPreviewFont->SetActive(true);
    if (processed > 0 && OnFontsChanged)
        OnFontsChanged();
    emit RunFinished(state);
    if (state == TThreadState::Completed && failed == 0 && processed == total && !PinPressed())
        accept();
}

void TFontProForm::RefreshRows()
{
    FLastRepaintTick = Tick();
    for (int r = 0; r < vstFonts->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = vstFonts->topLevelItem(r);
        TFontItemPro& task = *FTasks[static_cast<std::size_t>(row->data(ColFamily, Qt::UserRole).toInt())];
        // Only tasks the engine is done with: the status of the rest is still its input.
        if (FStatusUpdater && !task.StatusText().isEmpty() && &task != FEngine->CurrentItem()
            && !task.ActiveListItem())
            FStatusUpdater(task);
        row->setText(ColStatus, task.StatusText());
        row->setToolTip(ColFamily, task.StatusText().isEmpty() ? QString() : static_cast<const catalogue::TFontItem&>(task).StatusText());
    }
}

void TFontProForm::SortBy(int column)
{
    FSortOrder = column == FSortColumn && FSortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    FSortColumn = column;
    vstFonts->header()->setSortIndicatorShown(true);
    vstFonts->header()->setSortIndicator(column, FSortOrder);
    vstFonts->sortItems(column, FSortOrder);
    // Typing searches from the current cell's column: make it the sort column.
    QTreeWidgetItem* current = vstFonts->currentItem() ? vstFonts->currentItem() : vstFonts->topLevelItem(0);
    if (current)
        vstFonts->setCurrentItem(current, column, QItemSelectionModel::NoUpdate);
}

void TFontProForm::StopOrClose()
{
    if (FRunning) {
        // The engine ends after its current task; the finished event then shows the summary.
        // Until then the window cannot be closed, so the engine never outlives its handlers.
        FEngine->Stop();
        FRunning = false;
        FStopping = true;
        btnStop->setEnabled(false);
        return;
    }
    if (FStopping)
        return;
    btnStop->setText(QStringLiteral("Close"));
    accept();
}

void TFontProForm::reject()
{
    // Escape closes the window only when no engine runs.
    if (Running())
        return;
    QDialog::reject();
}

void TFontProForm::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFontProForm::done(int result)
{
    if (Running())
        return;
    try {
        TFontViewerRegistrySettings::Instance().SaveColumnLayout(ColumnLayoutName(), vstFonts->header()->saveState());
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Column layout %1: %2").arg(ColumnLayoutName(), QString::fromUtf8(error.what())));
    }
    QDialog::done(result);
}

} // namespace app
