// The message box form: its buttons for each button set, the default button, the keys, the
// kinds' captions and icons, and how a message sizes the form.

#include "support/WideMessageFrm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include <ostream>
#include <vector>

using support::TMessageButtons;
using support::TMessageKind;
using support::TMessageResult;
using support::TWideMessageForm;

namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;

QPushButton* Button(const QWidget& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

QLabel* Label(const QWidget& form, const char* name)
{
    return form.findChild<QLabel*>(QString::fromLatin1(name));
}

// Sends the key where the user's key press would go: the focused control, from which Qt
// passes unhandled keys up to the dialog.
void PressKey(QWidget& form, int key)
{
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

QSize WrappedExtent(const QLabel& label, int width)
{
    return label.fontMetrics()
        .boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap | Qt::TextExpandTabs, label.text())
        .size();
}

struct ButtonSetCase {
    const char* name;
    TMessageButtons buttons;
    std::vector<const char*> visible;
    std::vector<const char*> hidden;
    const char* defaultButton;
    TMessageResult enterResult;
};

void PrintTo(const ButtonSetCase& c, std::ostream* os)
{
    *os << c.name;
}

class MessageFormButtonSets : public ::testing::TestWithParam<ButtonSetCase> {};

const ButtonSetCase kButtonSets[] = {
    {"YesNo", TMessageButtons::YesNo, {"btnYes", "btnNo"}, {"btnOK", "btnCancel"}, "btnYes",
     TMessageResult::Yes},
    {"OK", TMessageButtons::OK, {"btnOK"}, {"btnYes", "btnNo", "btnCancel"}, "btnOK", TMessageResult::OK},
    {"YesNoCancel", TMessageButtons::YesNoCancel, {"btnYes", "btnNo", "btnCancel"}, {"btnOK"}, "btnYes",
     TMessageResult::Yes},
};

TEST_P(MessageFormButtonSets, ShowsTheSetsButtonsWithTheDefaultOnOneLineAtTheBottom)
{
    const ButtonSetCase& c = GetParam();
    TWideMessageForm form;
    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, c.buttons, QString());
    form.show();

    const int top = form.height() - 10 - kButtonHeight;
    for (const char* name : c.visible) {
        QPushButton* button = Button(form, name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_EQ(button->size(), QSize(kButtonWidth, kButtonHeight)) << name;
        EXPECT_EQ(button->y(), top) << name;
        EXPECT_EQ(button->isDefault(), qstrcmp(name, c.defaultButton) == 0) << name;
    }
    for (const char* name : c.hidden) {
        ASSERT_NE(Button(form, name), nullptr) << name;
        EXPECT_FALSE(Button(form, name)->isVisible()) << name;
    }
}

TEST_P(MessageFormButtonSets, EscapeAnswersCancelAndEnterTheDefaultButton)
{
    const ButtonSetCase& c = GetParam();
    {
        TWideMessageForm form;
        form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, c.buttons, QString());
        form.show();
        PressKey(form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), static_cast<int>(TMessageResult::Cancel));
    }
    for (const int enter : {Qt::Key_Return, Qt::Key_Enter}) {
        TWideMessageForm form;
        form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, c.buttons, QString());
        form.show();
        PressKey(form, enter);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), static_cast<int>(c.enterResult));
    }
}

INSTANTIATE_TEST_SUITE_P(, MessageFormButtonSets, ::testing::ValuesIn(kButtonSets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MessageForm, ButtonsHaveTheirCaptionsAndResults)
{
    struct Case {
        const char* name;
        const char* text;
        TMessageButtons set;
        TMessageResult result;
    };
    const Case cases[] = {
        {"btnOK", "OK", TMessageButtons::OK, TMessageResult::OK},
        {"btnYes", "&Yes", TMessageButtons::YesNoCancel, TMessageResult::Yes},
        {"btnNo", "&No", TMessageButtons::YesNoCancel, TMessageResult::No},
        {"btnCancel", "Cancel", TMessageButtons::YesNoCancel, TMessageResult::Cancel},
    };
    for (const Case& c : cases) {
        TWideMessageForm form;
        form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, c.set, QString());
        form.show();
        QPushButton* button = Button(form, c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->text(), QString::fromLatin1(c.text)) << c.name;
        button->click();
        EXPECT_FALSE(form.isVisible()) << c.name;
        EXPECT_EQ(form.result(), static_cast<int>(c.result)) << c.name;
    }
}

TEST(MessageForm, ClosingTheWindowAnswersCancel)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, TMessageButtons::YesNo, QString());
    form.show();
    form.close();
    EXPECT_EQ(form.result(), static_cast<int>(TMessageResult::Cancel));
}

TEST(MessageForm, ButtonsArePlacedAroundTheCentre)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, TMessageButtons::YesNo, QString());
    const int centre = form.width() / 2;
    EXPECT_EQ(Button(form, "btnYes")->geometry().right() + 1, centre - 4);
    EXPECT_EQ(Button(form, "btnNo")->x(), centre + 4);

    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, TMessageButtons::OK, QString());
    EXPECT_EQ(Button(form, "btnOK")->x(), (form.width() - kButtonWidth) / 2);

    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, TMessageButtons::YesNoCancel, QString());
    const int no = Button(form, "btnNo")->x();
    EXPECT_EQ(no, (form.width() - kButtonWidth) / 2);
    EXPECT_EQ(Button(form, "btnYes")->geometry().right() + 1, no - 8);
    EXPECT_EQ(Button(form, "btnCancel")->x(), no + kButtonWidth + 8);
}

TEST(MessageForm, KindsGiveCaptionAndIcon)
{
    struct Case {
        TMessageKind kind;
        const char* caption;
        bool icon;
    };
    const Case cases[] = {
        {TMessageKind::Warning, "Warning", true},
        {TMessageKind::Error, "Error", true},
        {TMessageKind::Information, "Information", true},
        {TMessageKind::Confirmation, "Confirmation", true},
        {TMessageKind::Custom, "Confirm", false},
    };
    for (const Case& c : cases) {
        const int kind = static_cast<int>(c.kind);
        TWideMessageForm form;
        form.Prepare(QStringLiteral("Text"), c.kind, TMessageButtons::OK, QString());
        form.show();
        EXPECT_EQ(form.windowTitle(), QString::fromLatin1(c.caption)) << kind;
        QLabel* icon = Label(form, "imgIcon");
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->isVisible(), c.icon) << kind;
        if (c.icon) {
            EXPECT_EQ(icon->geometry(), QRect(16, 16, 32, 32)) << kind;
            EXPECT_FALSE(icon->pixmap().isNull()) << kind;
        }

        form.Prepare(QStringLiteral("Text"), c.kind, TMessageButtons::OK, QStringLiteral("Own caption"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Own caption")) << kind;
    }
}

TEST(MessageForm, ShortMessageKeepsTheDesignSize)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("Delete it?"), TMessageKind::Confirmation, TMessageButtons::YesNo, QString());
    EXPECT_EQ(form.size(), QSize(372, 93));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()); // a dialog border: not resizable
    QLabel* message = Label(form, "lblMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->geometry(), QRect(80, 16, 277, 29));
    EXPECT_EQ(message->text(), QStringLiteral("Delete it?"));
}

TEST(MessageForm, LongMessageWrapsAtHalfTheScreenAndGrowsInHeight)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const int halfScreen = screen->geometry().width() / 2;

    TWideMessageForm form;
    const QString text = QStringLiteral("The font file could not be read. ").repeated(60);
    form.Prepare(text, TMessageKind::Error, TMessageButtons::OK, QString());
    QLabel* message = Label(form, "lblMessage");
    ASSERT_NE(message, nullptr);

    EXPECT_EQ(message->pos(), QPoint(80, 16));
    EXPECT_GT(message->width(), 277);
    EXPECT_LE(message->width(), halfScreen);
    EXPECT_GT(message->height(), 29);
    // The form grew by exactly what the label grew.
    EXPECT_EQ(form.width() - 372, message->width() - 277);
    EXPECT_EQ(form.height() - 93, message->height() - 29);
    // The whole text fits the label, and the buttons stay below it.
    EXPECT_GE(message->height(), WrappedExtent(*message, message->width()).height());
    EXPECT_GE(Button(form, "btnOK")->y(), message->geometry().bottom());
}

TEST(MessageForm, MessageOfManyShortLinesGrowsOnlyInHeight)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix"), TMessageKind::Information,
                 TMessageButtons::OK, QString());
    EXPECT_EQ(form.width(), 372);
    EXPECT_GT(form.height(), 93);
}

TEST(MessageForm, PreparingAgainStartsFromTheDesignSize)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("long words ").repeated(200), TMessageKind::Error, TMessageButtons::OK, QString());
    form.Prepare(QStringLiteral("short"), TMessageKind::Error, TMessageButtons::OK, QString());
    EXPECT_EQ(form.size(), QSize(372, 93));
}

TEST(MessageForm, MarkupInTheMessageIsShownAsText)
{
    TWideMessageForm form;
    form.Prepare(QStringLiteral("<b>Bold</b> & <i>Sans</i>"), TMessageKind::Error, TMessageButtons::OK, QString());
    QLabel* message = Label(form, "lblMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
    EXPECT_EQ(message->text(), QStringLiteral("<b>Bold</b> & <i>Sans</i>"));
}

TEST(MessageForm, IsCentredOnTheScreen)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    TWideMessageForm form;
    form.Prepare(QStringLiteral("Continue?"), TMessageKind::Confirmation, TMessageButtons::YesNo, QString());
    const QPoint centre = screen->availableGeometry().center();
    const QPoint formCentre = QRect(form.pos(), form.size()).center();
    EXPECT_LE((formCentre - centre).manhattanLength(), 2);
}

TEST(MessageForm, TakesTheThemesViewColourAndTheInterfaceFont)
{
    const QPalette saved = QApplication::palette();
    QPalette themed = saved;
    themed.setColor(QPalette::Base, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(themed);
    {
        TWideMessageForm form;
        EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        EXPECT_TRUE(form.autoFillBackground());
        EXPECT_EQ(form.font(), QApplication::font());
        EXPECT_EQ(form.objectName(), QStringLiteral("WideMessageForm"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Confirm"));
    }
    QApplication::setPalette(saved);
}

} // namespace
