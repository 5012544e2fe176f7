// The warning box form: Yes/No or OK, the "Don't show this warning again" rule, the keys and
// how a message sizes the form.

#include "support/WideMessageFrm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using support::TMessageKind;
using support::TMessageResult;
using support::TWideWarningForm;

namespace {

QPushButton* Button(const QWidget& form, const char* name)
{
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

QCheckBox* DontShowAgain(const QWidget& form)
{
    return form.findChild<QCheckBox*>(QStringLiteral("cbDontShowAgain"));
}

QLabel* Message(const QWidget& form)
{
    return form.findChild<QLabel*>(QStringLiteral("lblMessage"));
}

void PressKey(QWidget& form, int key)
{
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

const QString kQuestion = QStringLiteral("Are you sure you want to uninstall 'Sans Regular'?");

TEST(WarningForm, YesNoHasTheDesignLayout)
{
    TWideWarningForm form;
    form.Prepare(QStringLiteral("Confirm uninstall"), kQuestion, true, TMessageKind::Information);
    form.show();

    EXPECT_EQ(form.objectName(), QStringLiteral("WideWarningForm"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Confirm uninstall"));
    EXPECT_EQ(form.size(), QSize(472, 127));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    ASSERT_NE(Message(form), nullptr);
    EXPECT_EQ(Message(form)->geometry(), QRect(80, 16, 377, 39));
    EXPECT_EQ(Message(form)->text(), kQuestion);

    QCheckBox* check = DontShowAgain(form);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), QStringLiteral("Don't show this warning again"));
    EXPECT_EQ(check->pos(), QPoint(80, 64));
    EXPECT_FALSE(check->isChecked());

    QPushButton* yes = Button(form, "btnYes");
    QPushButton* no = Button(form, "btnNo");
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(yes->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(no->text(), QStringLiteral("&No"));
    EXPECT_TRUE(yes->isDefault());
    EXPECT_FALSE(no->isDefault());
    EXPECT_TRUE(no->isVisible());
    EXPECT_EQ(yes->geometry().right() + 1, form.width() / 2 - 4);
    EXPECT_EQ(no->x(), form.width() / 2 + 4);
    EXPECT_GE(yes->y(), check->geometry().bottom());
    EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("imgIcon"))->isVisible());
}

TEST(WarningForm, WithoutYesNoOneCentredOkButtonAnswersOk)
{
    TWideWarningForm form;
    form.Prepare(QStringLiteral("Note"), kQuestion, false, TMessageKind::Warning);
    form.show();
    QPushButton* ok = Button(form, "btnYes");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->x(), (form.width() - ok->width()) / 2);
    EXPECT_FALSE(Button(form, "btnNo")->isVisible());

    PressKey(form, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), static_cast<int>(TMessageResult::OK));
}

TEST(WarningForm, TickingTheCheckBoxDisablesNo)
{
    TWideWarningForm form;
    form.Prepare(QStringLiteral("Confirm delete"), kQuestion, true, TMessageKind::Information);
    form.show();
    QCheckBox* check = DontShowAgain(form);
    QPushButton* no = Button(form, "btnNo");

    check->click();
    EXPECT_FALSE(no->isEnabled());
    EXPECT_FALSE(form.ShowAgain());
    no->click(); // a disabled button does not answer
    EXPECT_TRUE(form.isVisible());

    check->click();
    EXPECT_TRUE(no->isEnabled());
    EXPECT_TRUE(form.ShowAgain());
    no->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), static_cast<int>(TMessageResult::No));
}

TEST(WarningForm, KeysAnswerAndTheCheckBoxStateIsReturned)
{
    struct Case {
        const char* name;
        bool tick;
        bool focusCheckBox; // the user ticked with the keyboard or mouse and the box kept focus
        int key;
        TMessageResult result;
    };
    const Case cases[] = {
        {"enter", false, false, Qt::Key_Return, TMessageResult::Yes},
        {"enter ticked", true, false, Qt::Key_Return, TMessageResult::Yes},
        {"enter on the check box", true, true, Qt::Key_Enter, TMessageResult::Yes},
        {"escape", false, false, Qt::Key_Escape, TMessageResult::Cancel},
        {"escape ticked", true, true, Qt::Key_Escape, TMessageResult::Cancel},
    };
    for (const Case& c : cases) {
        TWideWarningForm form;
        form.Prepare(QStringLiteral("Confirm"), kQuestion, true, TMessageKind::Information);
        form.show();
        if (c.tick)
            DontShowAgain(form)->setChecked(true);
        if (c.focusCheckBox)
            DontShowAgain(form)->setFocus();
        PressKey(form, c.key);
        EXPECT_FALSE(form.isVisible()) << c.name;
        EXPECT_EQ(form.result(), static_cast<int>(c.result)) << c.name;
        EXPECT_EQ(form.ShowAgain(), !c.tick) << c.name;
    }
}

TEST(WarningForm, LongMessageKeepsTheWidthAndIsNotCutOff)
{
    TWideWarningForm form;
    const QString text = QStringLiteral(
        "One or more of these fonts are currently installed. The next time you log in, they will "
        "be activated again. To permanently deactivate a font, you should uninstall it. Are you "
        "sure you want to unload these 12 items? ").repeated(3);
    form.Prepare(QStringLiteral("Confirm unload"), text, true, TMessageKind::Information);
    QLabel* message = Message(form);
    ASSERT_NE(message, nullptr);

    EXPECT_EQ(form.width(), 472);
    EXPECT_EQ(message->geometry().topLeft(), QPoint(80, 16));
    EXPECT_EQ(message->width(), 377);
    const QSize needed = message->fontMetrics()
                             .boundingRect(QRect(0, 0, 377, 1 << 20), Qt::TextWordWrap | Qt::TextExpandTabs, text)
                             .size();
    EXPECT_GE(message->height(), needed.height());
    EXPECT_EQ(form.height() - 127, message->height() - 39);
    // The check box keeps its distance below the message, the buttons stay below the box.
    QCheckBox* check = DontShowAgain(form);
    EXPECT_EQ(check->y() - message->geometry().bottom(), 64 - (16 + 39 - 1));
    EXPECT_GE(Button(form, "btnYes")->y(), check->geometry().bottom());
    EXPECT_EQ(Button(form, "btnYes")->y(), form.height() - 10 - 24);
}

TEST(WarningForm, CustomKindShowsNoIcon)
{
    TWideWarningForm form;
    form.Prepare(QStringLiteral("Confirm"), kQuestion, true, TMessageKind::Custom);
    form.show();
    EXPECT_FALSE(form.findChild<QLabel*>(QStringLiteral("imgIcon"))->isVisible());
}

} // namespace
