#pragma once

// The program's own message and warning boxes. Every question, warning and error shown to
// the user goes through WideMessageBox or WideWarningBox, so that messages follow the
// program's font and theme and answer the same results everywhere.

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;

namespace support {

// What a message is about: the caption used when none is given, and the icon.
enum class TMessageKind : int {
    Warning = 0,
    Error = 1,
    Information = 2,
    Confirmation = 3,
    Custom = 4, // no icon; the form keeps its own caption
};

enum class TMessageButtons : int {
    YesNo = 0,
    OK = 1,
    YesNoCancel = 2,
};

// The buttons' modal results. Escape and the window's close button answer Cancel, whatever
// buttons are shown.
enum class TMessageResult : int {
    OK = 1,
    Cancel = 2,
    Yes = 6,
    No = 7,
};

// Sound types are the system's message sounds (48 exclamation, 64 asterisk, ...); the desktop
// has one alert sound, played for any of them.
inline constexpr int kNoSound = -1;

// The caption a kind gives a message box without a caption of its own.
QString CaptionOfKind(TMessageKind kind);

// A general message box: icon, a wrapped message, and Yes/No, OK or Yes/No/Cancel.
// The form's objectName ("WideMessageForm") is the key under which its position is kept.
class TWideMessageForm : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kDesignClientSize{372, 93};
    static constexpr QRect kDesignMessageRect{80, 16, 277, 29};

    explicit TWideMessageForm(QWidget* parent = nullptr);

    // Sets caption, message, icon and buttons; grows the form for a long message (never
    // below its design size), places the buttons and centres the form on the screen.
    void Prepare(const QString& message, TMessageKind kind, TMessageButtons buttons,
                 const QString& caption);

    // Escape and closing the window answer Cancel.
    void reject() override;

private:
    void ShowButtons(TMessageButtons buttons);
    void FitMessage(const QString& message);

    QLabel* FIcon = nullptr;
    QLabel* FMessage = nullptr;
    QPushButton* FOK = nullptr;
    QPushButton* FYes = nullptr;
    QPushButton* FNo = nullptr;
    QPushButton* FCancel = nullptr;
};

// A warning with a "Don't show this warning again" check box; the caller stores the answer.
// Ticking the box disables No, so that a remembered answer is always the positive one.
// The form's objectName ("WideWarningForm") is the key under which its position is kept.
class TWideWarningForm : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kDesignClientSize{472, 127};
    static constexpr QRect kDesignMessageRect{80, 16, 377, 39};
    static constexpr QPoint kDesignCheckBoxPos{80, 64};

    explicit TWideWarningForm(QWidget* owner = nullptr);

    // Yes/No, or with yesNo false one button "OK" (answering OK). The message keeps the
    // label's width; a message that needs more lines than the label holds makes the form
    // taller rather than being cut off.
    void Prepare(const QString& caption, const QString& message, bool yesNo, TMessageKind kind);

    // True while "Don't show this warning again" is unchecked.
    bool ShowAgain() const;

    void reject() override;

private:
    void FitMessage(const QString& message);

    QLabel* FIcon = nullptr;
    QLabel* FMessage = nullptr;
    QCheckBox* FDontShowAgain = nullptr;
    QPushButton* FYes = nullptr;
    QPushButton* FNo = nullptr;
    TMessageResult FPositiveResult = TMessageResult::Yes;
};

// Shows a message box modally (owned by the application) and answers the button chosen.
// An empty caption takes the kind's caption.
TMessageResult WideMessageBox(const QString& message, TMessageKind kind, TMessageButtons buttons,
                              int sound = kNoSound, const QString& caption = QString());

struct TWarningBoxAnswer {
    TMessageResult Result = TMessageResult::Cancel;
    bool ShowAgain = true; // the check box was left unchecked
};

// Shows a warning box modally over `owner` (may be null).
TWarningBoxAnswer WideWarningBox(QWidget* owner, const QString& caption, const QString& message,
                                 bool yesNo, int sound, TMessageKind kind);

} // namespace support
