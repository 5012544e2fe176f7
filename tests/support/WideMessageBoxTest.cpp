// The modal calls: the message box and the warning box answer what the user chose. A timer
// acts on the open box, as the user would, so no test waits for a person.

#include "support/WideMessageFrm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

using support::TMessageButtons;
using support::TMessageKind;
using support::TMessageResult;
using support::TWideMessageForm;
using support::TWideWarningForm;
using support::WideMessageBox;
using support::WideWarningBox;

namespace {

void PressKey(QWidget& form, int key)
{
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// Runs `act` on the modal box once it is open. A box the action leaves open is a failure;
// it is closed so that the test goes on.
void WhenBoxOpens(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no modal box is open";
            return;
        }
        act(*box);
        if (box->isVisible()) {
            ADD_FAILURE() << "the box is still open";
            box->done(0);
        }
    });
}

TEST(MessageBoxCall, AnswersTheUsersChoice)
{
    struct Case {
        const char* name;
        TMessageButtons buttons;
        std::function<void(QDialog&)> act;
        TMessageResult result;
    };
    const auto click = [](const char* button) {
        return [button](QDialog& box) { box.findChild<QPushButton*>(QString::fromLatin1(button))->click(); };
    };
    const auto key = [](int k) { return [k](QDialog& box) { PressKey(box, k); }; };
    const Case cases[] = {
        {"escape in yes/no", TMessageButtons::YesNo, key(Qt::Key_Escape), TMessageResult::Cancel},
        {"enter in yes/no", TMessageButtons::YesNo, key(Qt::Key_Return), TMessageResult::Yes},
        {"no in yes/no", TMessageButtons::YesNo, click("btnNo"), TMessageResult::No},
        {"enter in ok", TMessageButtons::OK, key(Qt::Key_Return), TMessageResult::OK},
        {"escape in ok", TMessageButtons::OK, key(Qt::Key_Escape), TMessageResult::Cancel},
        {"cancel in yes/no/cancel", TMessageButtons::YesNoCancel, click("btnCancel"), TMessageResult::Cancel},
        {"enter in yes/no/cancel", TMessageButtons::YesNoCancel, key(Qt::Key_Enter), TMessageResult::Yes},
    };
    for (const Case& c : cases) {
        WhenBoxOpens(c.act);
        EXPECT_EQ(WideMessageBox(QStringLiteral("Continue?"), TMessageKind::Confirmation, c.buttons),
                  c.result)
            << c.name;
    }
}

TEST(MessageBoxCall, ShowsTheMessageWithTheKindsCaption)
{
    QString title;
    QString text;
    bool isMessageForm = false;
    WhenBoxOpens([&](QDialog& box) {
        title = box.windowTitle();
        isMessageForm = qobject_cast<TWideMessageForm*>(&box) != nullptr;
        text = box.findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
        box.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    EXPECT_EQ(WideMessageBox(QStringLiteral("These characters are not allowed"), TMessageKind::Error,
                             TMessageButtons::OK, 48),
              TMessageResult::OK);
    EXPECT_TRUE(isMessageForm);
    EXPECT_EQ(title, QStringLiteral("Error"));
    EXPECT_EQ(text, QStringLiteral("These characters are not allowed"));
}

TEST(WarningBoxCall, AnswersTheChoiceAndWhetherToShowAgain)
{
    struct Case {
        const char* name;
        bool tick;
        int key;
        TMessageResult result;
        bool showAgain;
    };
    const Case cases[] = {
        {"yes", false, Qt::Key_Return, TMessageResult::Yes, true},
        {"yes, do not show again", true, Qt::Key_Return, TMessageResult::Yes, false},
        {"escape", false, Qt::Key_Escape, TMessageResult::Cancel, true},
    };
    QWidget owner;
    for (const Case& c : cases) {
        QWidget* parent = nullptr;
        WhenBoxOpens([&](QDialog& box) {
            parent = box.parentWidget();
            if (c.tick)
                box.findChild<QCheckBox*>(QStringLiteral("cbDontShowAgain"))->setChecked(true);
            PressKey(box, c.key);
        });
        const auto answer = WideWarningBox(&owner, QStringLiteral("Confirm uninstall"),
                                           QStringLiteral("Are you sure?"), true, 48, TMessageKind::Information);
        EXPECT_EQ(answer.Result, c.result) << c.name;
        EXPECT_EQ(answer.ShowAgain, c.showAgain) << c.name;
        EXPECT_EQ(parent, &owner) << c.name;
    }
    // The box is gone once it has answered.
    EXPECT_TRUE(owner.findChildren<TWideWarningForm*>().isEmpty());
}

TEST(WarningBoxCall, AnOwnerThatGoesWhileTheBoxIsOpenEndsItAsCancel)
{
    auto owner = std::make_unique<QWidget>();
    QTimer::singleShot(0, qApp, [&owner] { owner.reset(); });
    const auto answer = WideWarningBox(owner.get(), QStringLiteral("Confirm"), QStringLiteral("Sure?"), true,
                                       support::kNoSound, TMessageKind::Information);
    EXPECT_EQ(answer.Result, TMessageResult::Cancel);
    EXPECT_TRUE(answer.ShowAgain);
}

TEST(WarningBoxCall, WorksWithoutAnOwner)
{
    WhenBoxOpens([](QDialog& box) { PressKey(box, Qt::Key_Return); });
    const auto answer = WideWarningBox(nullptr, QStringLiteral("Note"), QStringLiteral("Done."), false,
                                       support::kNoSound, TMessageKind::Warning);
    EXPECT_EQ(answer.Result, TMessageResult::OK);
}

} // namespace
