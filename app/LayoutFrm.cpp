#include "app/LayoutFrm.h"

#include "app/WindowPosition.h"
#include "platform/Places.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace app {

namespace {

constexpr QSize kPictureSize{96, 72};

// A picture that checks its layout when clicked and confirms the dialog on a double click.
class TLayoutPicture : public QLabel {
public:
    TLayoutPicture(QWidget* parent, std::function<void()> clicked, std::function<void()> doubleClicked)
        : QLabel(parent), FClicked(std::move(clicked)), FDoubleClicked(std::move(doubleClicked))
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            FClicked();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            FDoubleClicked();
    }

private:
    std::function<void()> FClicked;
    std::function<void()> FDoubleClicked;
};

// A radio button that confirms the dialog on a double click.
class TLayoutRadioButton : public QRadioButton {
public:
    TLayoutRadioButton(const QString& text, QWidget* parent, std::function<void()> doubleClicked)
        : QRadioButton(text, parent), FDoubleClicked(std::move(doubleClicked))
    {
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QRadioButton::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton)
            FDoubleClicked();
    }

private:
    std::function<void()> FDoubleClicked;
};

// A sketch of the panes a layout shows: Fonts left, the other panes where it puts them.
QPixmap LayoutPicture(TLayout layout)
{
    QPixmap picture(kPictureSize);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::darkGray);
    const int w = kPictureSize.width() - 1;
    const int h = kPictureSize.height() - 1;
    const auto pane = [&](int x, int y, int width, int height, const QColor& colour) {
        painter.fillRect(x, y, width, height, colour);
        painter.drawRect(x, y, width, height);
    };
    const QColor fonts(0xB0, 0xC8, 0xE8), characters(0xF0, 0xE0, 0xA0), other(0xC8, 0xE8, 0xC0);
    switch (layout) {
    case TLayout::Character:
        pane(0, 0, w, h, characters);
        break;
    case TLayout::Font:
        pane(0, 0, w / 3, h, fonts);
        pane(w / 3, 0, w - w / 3, h / 2, characters);
        pane(w / 3, h / 2, (w - w / 3) / 2, h - h / 2, other);
        pane(w / 3 + (w - w / 3) / 2, h / 2, w - w / 3 - (w - w / 3) / 2, h - h / 2, other);
        break;
    case TLayout::FontInformation:
        pane(0, 0, w / 2, h, fonts);
        pane(w / 2, 0, w - w / 2, h, other);
        break;
    default:
        pane(0, 0, w / 2, 2 * h / 3, fonts);
        pane(w / 2, 0, w - w / 2, 2 * h / 3, characters);
        for (int i = 0; i < 3; ++i)
            pane(i * w / 3, 2 * h / 3, w / 3, h - 2 * h / 3, other);
        break;
    }
    return picture;
}

QString LayoutWindowKey()
{
    return settings::TFontViewerRegistrySettings::ApplicationBaseKey() + QStringLiteral("\\Layout Window");
}

} // namespace

TLayoutSelectorForm::TLayoutSelectorForm(QMainWindow& mainWindow, TSplitterPanels splitters, QWidget* parent)
    : QDialog(parent)
    , FMainWindow(mainWindow)
    , FSplitters(std::move(splitters))
{
    setObjectName(QStringLiteral("LayoutSelectorForm"));
    setWindowTitle(QStringLiteral("Layout"));
    auto* layout = new QVBoxLayout(this);

    auto* intro = new QLabel(QStringLiteral(
        "You can move, resize, show, hide, dock and undock all panes (windows) to customize the layout to your "
        "satisfaction. For your convienence here are four predefined layouts."), this);
    intro->setObjectName(QStringLiteral("lblIntroduction"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* pictures = new QGridLayout;
    pictures->addWidget(CreatePredefinedChoice(TLayout::Default, "rbDefaultLayout", QStringLiteral("&Default layout")), 0, 0);
    pictures->addWidget(CreatePredefinedChoice(TLayout::Character, "rbCharacterLayout", QStringLiteral("C&haracter layout")), 0, 1);
    pictures->addWidget(CreatePredefinedChoice(TLayout::Font, "rbFontLayout", QStringLiteral("&Font layout")), 0, 2);
    pictures->addWidget(CreatePredefinedChoice(TLayout::FontInformation, "rbFontInformationLayout",
                                               QStringLiteral("F&ont information layout")), 0, 3);
    layout->addLayout(pictures);

    auto* custom = new QGroupBox(QStringLiteral(" Custom layout "), this);
    custom->setObjectName(QStringLiteral("gbCustomLayout"));
    auto* customLayout = new QVBoxLayout(custom);
    const std::pair<TLayout, const char*> customs[] = {{TLayout::Custom1, "rbCustomLayout1"},
                                                        {TLayout::Custom2, "rbCustomLayout2"}};
    const QString customCaptions[] = {QStringLiteral("C&ustom layout 1"), QStringLiteral("Custo&m layout 2")};
    for (int i = 0; i < 2; ++i) {
        const TLayout which = customs[i].first;
        auto* button = new TLayoutRadioButton(customCaptions[i], custom, [this] { accept(); });
        button->setObjectName(QLatin1String(customs[i].second));
        button->setAutoExclusive(false);
        connect(button, &QRadioButton::clicked, this, [this, which] { Checked(which); });
        FButtons[static_cast<int>(which)] = button;
        customLayout->addWidget(button);
    }
    layout->addWidget(custom);

    auto* current = new QGroupBox(QStringLiteral(" Current layout "), this);
    current->setObjectName(QStringLiteral("gbCurrentLayout"));
    auto* currentLayout = new QVBoxLayout(current);
    const std::pair<const char*, QString> saves[] = {
        {"btnSaveCustomLayout1", QStringLiteral("&Save current layout as custom layout 1")},
        {"btnSaveCustomLayout2", QStringLiteral("S&ave current layout as custom layout 2")}};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(saves[i].second, current);
        button->setObjectName(QLatin1String(saves[i].first));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { SaveCurrentAsCustom(i + 1); });
        currentLayout->addWidget(button);
    }
    layout->addWidget(current);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("btnHelp"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(
            platform::places::ProgramFolder() + QStringLiteral("/help/FM_Layout_Selector.html")));
    });
    layout->addWidget(buttons);

    SelectLayout(TLayout::Default);
    adjustSize();
    RememberDialogPosition(*this, LayoutWindowKey());
}

QWidget* TLayoutSelectorForm::CreatePredefinedChoice(TLayout layout, const char* name, const QString& caption)
{
    auto* choice = new QWidget(this);
    auto* column = new QVBoxLayout(choice);
    column->setContentsMargins(0, 0, 0, 0);
    auto* button = new TLayoutRadioButton(caption, choice, [this] { accept(); });
    button->setObjectName(QLatin1String(name));
    button->setAutoExclusive(false);
    auto* picture = new TLayoutPicture(choice, [this, layout] { Checked(layout); }, [this, layout] {
        Checked(layout);
        accept();
    });
    picture->setObjectName(QStringLiteral("img") + QString::fromLatin1(name).mid(2));
    picture->setPixmap(LayoutPicture(layout));
    picture->setFixedSize(kPictureSize);
    connect(button, &QRadioButton::clicked, this, [this, layout] { Checked(layout); });
    FButtons[static_cast<int>(layout)] = button;
    column->addWidget(picture);
    column->addWidget(button);
    return choice;
}

// One layout is checked at a time, across the predefined and the custom group.
void TLayoutSelectorForm::Checked(TLayout layout)
{
    for (int i = 0; i < 6; ++i)
        if (FButtons[i])
            FButtons[i]->setChecked(i == static_cast<int>(layout));
}

TLayout TLayoutSelectorForm::SelectedLayout() const
{
    for (int i = 0; i < 6; ++i)
        if (FButtons[i] && FButtons[i]->isChecked())
            return static_cast<TLayout>(i);
    return TLayout::Default;
}

void TLayoutSelectorForm::SelectLayout(TLayout layout) { Checked(layout); }

void TLayoutSelectorForm::SaveCurrentAsCustom(int custom)
{
    SaveCustomLayout(FMainWindow, custom, FSplitters);
    Checked(custom == 1 ? TLayout::Custom1 : TLayout::Custom2);
}

void TLayoutSelectorForm::accept()
{
    const TLayout layout = SelectedLayout();
    QDialog::accept();
    ApplyLayout(FMainWindow, layout, FSplitters);
}

void TLayoutSelectorForm::Execute(QMainWindow& mainWindow, const TSplitterPanels& splitters)
{
    TLayoutSelectorForm form(mainWindow, splitters, &mainWindow);
    form.exec();
}

TLayoutActions CreateLayoutActions(QMainWindow& mainWindow, const TSplitterPanels& splitters)
{
    TLayoutActions actions;
    actions.Dialog = new QAction(QStringLiteral("&Layout..."), &mainWindow);
    actions.Dialog->setObjectName(QStringLiteral("tbmiViewLayout"));
    QObject::connect(actions.Dialog, &QAction::triggered, &mainWindow,
                     [&mainWindow, splitters] { TLayoutSelectorForm::Execute(mainWindow, splitters); });
    for (int i = 0; i < 6; ++i) {
        auto* action = new QAction(QStringLiteral("Layout %1").arg(i + 1), &mainWindow);
        action->setObjectName(QStringLiteral("acLayout%1").arg(i + 1));
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(i + 1)));
        action->setShortcutContext(Qt::WindowShortcut);
        const TLayout layout = static_cast<TLayout>(i);
        QObject::connect(action, &QAction::triggered, &mainWindow,
                         [&mainWindow, splitters, layout] { ApplyLayout(mainWindow, layout, splitters); });
        mainWindow.addAction(action);
        actions.Layouts[static_cast<std::size_t>(i)] = action;
    }
    return actions;
}

} // namespace app
