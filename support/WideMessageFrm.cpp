#include "WideMessageFrm.h"

#include "support/FontHelper.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace support {

namespace {

constexpr QRect kIconRect{16, 16, 32, 32};
constexpr QSize kButtonSize{80, 24};
constexpr int kButtonBottomMargin = 10;   // between the buttons and the client area's bottom
constexpr int kPairGapFromCentre = 4;     // a pair of buttons sits 4 pixels either side of the centre
constexpr int kButtonGap = 8;             // between the three buttons of Yes/No/Cancel
constexpr int kFallbackScreenWidth = 1024; // when no screen is known
constexpr int kMeasureHeight = 1 << 20;    // tall enough for any message

// The dialogs look like the rest of the program: the interface font, and the theme's view
// colour as background. The themes set the application palette, so its base colour is the
// active theme's view colour.
void TakeProgramLook(QDialog& form)
{
    form.setFont(TFontHelper::DefaultInterfaceFont());
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    form.setPalette(palette);
    form.setAutoFillBackground(true);
}

QLabel* CreateIcon(QDialog& form)
{
    auto* icon = new QLabel(&form);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setGeometry(kIconRect);
    return icon;
}

QLabel* CreateMessageLabel(QDialog& form, const QRect& design)
{
    auto* label = new QLabel(&form);
    label->setObjectName(QStringLiteral("lblMessage"));
    // File and font names may look like markup; they are shown as they are.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(design);
    return label;
}

QPushButton* CreateButton(QDialog& form, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, &form);
    button->setObjectName(QString::fromLatin1(name));
    button->resize(kButtonSize);
    return button;
}

void ShowKindIcon(QLabel& icon, TMessageKind kind)
{
    QStyle::StandardPixmap standard{};
    switch (kind) {
    case TMessageKind::Warning: standard = QStyle::SP_MessageBoxWarning; break;
    case TMessageKind::Error: standard = QStyle::SP_MessageBoxCritical; break;
    case TMessageKind::Information: standard = QStyle::SP_MessageBoxInformation; break;
    case TMessageKind::Confirmation: standard = QStyle::SP_MessageBoxQuestion; break;
    case TMessageKind::Custom:
    default:
        icon.clear();
        icon.hide();
        return;
    }
    icon.setPixmap(icon.style()->standardIcon(standard, nullptr, &icon).pixmap(kIconRect.size()));
    icon.show();
}

// The extent of the text drawn word-wrapped, tabs expanded, within `width` (a word longer
// than the width makes the extent wider).
QSize WrappedExtent(const QFontMetrics& metrics, int width, const QString& text)
{
    if (text.isEmpty())
        return {0, 0};
    return metrics.boundingRect(QRect(0, 0, width, kMeasureHeight),
                                Qt::TextWordWrap | Qt::TextExpandTabs, text).size();
}

int HalfScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->geometry().width() : kFallbackScreenWidth) / 2;
}

void CentreOnScreen(QWidget& form)
{
    const QScreen* screen = form.parentWidget() ? form.parentWidget()->screen()
                                                : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(0, 0), form.size());
    frame.moveCenter(screen->availableGeometry().center());
    form.move(frame.topLeft());
}

void MakeDefault(QPushButton& button)
{
    button.setDefault(true);
    // The default button also has the focus, so that Enter answers it.
    button.setFocus(Qt::OtherFocusReason);
}

int ButtonsTop(const QWidget& form)
{
    return form.height() - kButtonBottomMargin - kButtonSize.height();
}

// Yes ends a little left of the centre, No starts a little right of it.
void PlacePairAroundCentre(QWidget& form, QPushButton& left, QPushButton& right)
{
    const int centre = form.width() / 2;
    const int top = ButtonsTop(form);
    left.move(centre - kPairGapFromCentre - kButtonSize.width(), top);
    right.move(centre + kPairGapFromCentre, top);
}

void PlaceCentred(QWidget& form, QPushButton& button)
{
    button.move((form.width() - kButtonSize.width()) / 2, ButtonsTop(form));
}

void PlaySound(int sound)
{
    if (sound != kNoSound)
        QApplication::beep();
}

TMessageResult ResultOf(int code)
{
    switch (code) {
    case static_cast<int>(TMessageResult::OK): return TMessageResult::OK;
    case static_cast<int>(TMessageResult::Yes): return TMessageResult::Yes;
    case static_cast<int>(TMessageResult::No): return TMessageResult::No;
    default: return TMessageResult::Cancel;
    }
}

void ConnectResult(QDialog& form, QPushButton& button, TMessageResult result)
{
    QObject::connect(&button, &QPushButton::clicked, &form,
                     [&form, result] { form.done(static_cast<int>(result)); });
}

} // namespace

QString CaptionOfKind(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Warning: return QStringLiteral("Warning");
    case TMessageKind::Error: return QStringLiteral("Error");
    case TMessageKind::Information: return QStringLiteral("Information");
    case TMessageKind::Confirmation: return QStringLiteral("Confirmation");
    case TMessageKind::Custom: break;
    }
    return QStringLiteral("Confirm");
}

// ---- TWideMessageForm ----

TWideMessageForm::TWideMessageForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("WideMessageForm"));
    setWindowTitle(QStringLiteral("Confirm"));
    TakeProgramLook(*this);
    setFixedSize(kDesignClientSize);

    FIcon = CreateIcon(*this);
    FMessage = CreateMessageLabel(*this, kDesignMessageRect);
    FOK = CreateButton(*this, "btnOK", QStringLiteral("OK"));
    FYes = CreateButton(*this, "btnYes", QStringLiteral("&Yes"));
    FNo = CreateButton(*this, "btnNo", QStringLiteral("&No"));
    FCancel = CreateButton(*this, "btnCancel", QStringLiteral("Cancel"));
    ConnectResult(*this, *FOK, TMessageResult::OK);
    ConnectResult(*this, *FYes, TMessageResult::Yes);
    ConnectResult(*this, *FNo, TMessageResult::No);
    ConnectResult(*this, *FCancel, TMessageResult::Cancel);
}

void TWideMessageForm::Prepare(const QString& message, TMessageKind kind, TMessageButtons buttons,
                               const QString& caption)
{
    setWindowTitle(caption.isEmpty() ? CaptionOfKind(kind) : caption);
    FitMessage(message);
    ShowButtons(buttons);
    CentreOnScreen(*this);
    FMessage->setText(message);
    ShowKindIcon(*FIcon, kind);
}

void TWideMessageForm::FitMessage(const QString& message)
{
    const QSize extent = WrappedExtent(FMessage->fontMetrics(), HalfScreenWidth(), message);
    QSize client = kDesignClientSize;
    QSize label = kDesignMessageRect.size();
    if (extent.width() > label.width()) {
        client.rwidth() += extent.width() - label.width();
        label.setWidth(extent.width());
    }
    if (extent.height() > label.height()) {
        client.rheight() += extent.height() - label.height();
        label.setHeight(extent.height());
    }
    setFixedSize(client);
    FMessage->setGeometry(QRect(kDesignMessageRect.topLeft(), label));
}

void TWideMessageForm::ShowButtons(TMessageButtons buttons)
{
    for (QPushButton* button : {FOK, FYes, FNo, FCancel})
        button->setDefault(false);
    switch (buttons) {
    case TMessageButtons::YesNo:
        FOK->hide();
        FCancel->hide();
        FYes->show();
        FNo->show();
        PlacePairAroundCentre(*this, *FYes, *FNo);
        MakeDefault(*FYes);
        break;
    case TMessageButtons::OK:
        FYes->hide();
        FNo->hide();
        FCancel->hide();
        FOK->show();
        PlaceCentred(*this, *FOK);
        MakeDefault(*FOK);
        break;
    case TMessageButtons::YesNoCancel:
        FOK->hide();
        FYes->show();
        FNo->show();
        FCancel->show();
        PlaceCentred(*this, *FNo);
        FYes->move(FNo->x() - kButtonGap - kButtonSize.width(), FNo->y());
        FCancel->move(FNo->x() + kButtonSize.width() + kButtonGap, FNo->y());
        MakeDefault(*FYes);
        break;
    }
}

void TWideMessageForm::reject()
{
    done(static_cast<int>(TMessageResult::Cancel));
}

// ---- TWideWarningForm ----

TWideWarningForm::TWideWarningForm(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("WideWarningForm"));
    setWindowTitle(QStringLiteral("Warning"));
    TakeProgramLook(*this);
    setFixedSize(kDesignClientSize);

    FIcon = CreateIcon(*this);
    FMessage = CreateMessageLabel(*this, kDesignMessageRect);
    FDontShowAgain = new QCheckBox(QStringLiteral("Don't show this warning again"), this);
    FDontShowAgain->setObjectName(QStringLiteral("cbDontShowAgain"));
    FDontShowAgain->move(kDesignCheckBoxPos);
    FDontShowAgain->adjustSize();
    FYes = CreateButton(*this, "btnYes", QStringLiteral("&Yes"));
    FNo = CreateButton(*this, "btnNo", QStringLiteral("&No"));
    MakeDefault(*FYes);

    connect(FYes, &QPushButton::clicked, this, [this] { done(static_cast<int>(FPositiveResult)); });
    ConnectResult(*this, *FNo, TMessageResult::No);
    // A remembered answer is always the positive one.
    connect(FDontShowAgain, &QCheckBox::toggled, FNo, [this](bool checked) { FNo->setEnabled(!checked); });
}

void TWideWarningForm::Prepare(const QString& caption, const QString& message, bool yesNo,
                               TMessageKind kind)
{
    setWindowTitle(caption);
    FitMessage(message);
    if (yesNo) {
        FPositiveResult = TMessageResult::Yes;
        FYes->setText(QStringLiteral("&Yes"));
        FNo->show();
        PlacePairAroundCentre(*this, *FYes, *FNo);
    } else {
        FPositiveResult = TMessageResult::OK;
        FYes->setText(QStringLiteral("OK"));
        FNo->hide();
        PlaceCentred(*this, *FYes);
    }
    MakeDefault(*FYes);
    CentreOnScreen(*this);
    FMessage->setText(message);
    ShowKindIcon(*FIcon, kind);
}

void TWideWarningForm::FitMessage(const QString& message)
{
    // The label keeps its width; only a message with more lines than it holds adds height.
    const QSize extent = WrappedExtent(FMessage->fontMetrics(), kDesignMessageRect.width(), message);
    const int extra = std::max(0, extent.height() - kDesignMessageRect.height());
    setFixedSize(kDesignClientSize.width(), kDesignClientSize.height() + extra);
    FMessage->setGeometry(kDesignMessageRect.adjusted(0, 0, 0, extra));
    FDontShowAgain->move(kDesignCheckBoxPos + QPoint(0, extra));
}

bool TWideWarningForm::ShowAgain() const
{
    return !FDontShowAgain->isChecked();
}

void TWideWarningForm::reject()
{
    done(static_cast<int>(TMessageResult::Cancel));
}

// ---- the calls ----

TMessageResult WideMessageBox(const QString& message, TMessageKind kind, TMessageButtons buttons,
                              int sound, const QString& caption)
{
    TWideMessageForm form;
    form.Prepare(message, kind, buttons, caption);
    PlaySound(sound);
    return ResultOf(form.exec());
}

TWarningBoxAnswer WideWarningBox(QWidget* owner, const QString& caption, const QString& message,
                                 bool yesNo, int sound, TMessageKind kind)
{
    // On the heap: an owner that goes away while the box is open takes the box with it.
    const QPointer<TWideWarningForm> form = new TWideWarningForm(owner);
    form->Prepare(caption, message, yesNo, kind);
    PlaySound(sound);
    const int code = form->exec();
    TWarningBoxAnswer answer;
    if (form) {
        answer.Result = ResultOf(code);
        answer.ShowAgain = form->ShowAgain();
    }
    delete form.data();
    return answer;
}

} // namespace support
