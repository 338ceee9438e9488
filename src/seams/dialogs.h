#pragma once

#include <QColor>
#include <QDate>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

class QTextDocument;

// The boxes and dialogs a command may put in front of the user. Windows get
// one through their constructor, so a test can answer them from a script.
class Dialogs
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Button { Ok, Cancel, Yes, No };
    enum class Echo { Plain, Masked };
    enum ColorFlag {
        PreselectCurrent = 1,
        CustomColorsOpen = 2,
    };
    Q_DECLARE_FLAGS(ColorFlags, ColorFlag)
    // Days from `from` to `to`, both included.
    struct DayRange
    {
        QDate from;
        QDate to;
        friend bool operator==(const DayRange &, const DayRange &) = default;
    };
    struct Choice
    {
        int index = 0;
        // The days chosen, when a range was offered.
        std::optional<DayRange> range;
        friend bool operator==(const Choice &, const Choice &) = default;
    };

    // One side of a comparison, its paragraphs the other lacks already marked.
    struct Side
    {
        QString caption;
        const QTextDocument *document = nullptr;
    };

    virtual ~Dialogs() = default;

    // The button pressed; closing the box counts as its Cancel or No.
    // Enter presses `defaultButton`, so a question that destroys something
    // can make its refusal the safe default.
    virtual Button message(const QString &text, const QString &title, Icon icon, Buttons buttons, Button defaultButton) = 0;
    Button message(const QString &text, const QString &title, Icon icon, Buttons buttons);
    // The text typed, or the empty text on Cancel.
    virtual QString input(const QString &prompt, const QString &title, Echo echo) = 0;
    // filter: "Description|*.a;*.b|All Files (*.*)|*.*", the first pair selected.
    // Starts in `folder`. The chosen path, or the empty text on Cancel.
    virtual QString openFile(const QString &title, const QString &filter, const QString &folder) = 0;
    // The path to write, offering `suggestedName`, in its own folder when it
    // is a full path; the empty text on Cancel.
    virtual QString saveFile(const QString &title, const QString &suggestedName, const QString &filter) = 0;
    // Nothing on Cancel. Remembering the last colour is the caller's business.
    virtual std::optional<QColor> color(ColorFlags flags, const QColor &current) = 0;
    // An existing folder, or the empty text on Cancel. Starts in `folder`.
    virtual QString openFolder(const QString &title, const QString &folder) = 0;
    // One of `choices`, `offered.index` shown first, and, when `offered` has a
    // range, the days the user gives for it, earlier first, that range shown
    // first; nothing on Cancel.
    virtual std::optional<Choice> choose(const QString &title, const QString &prompt, const QStringList &choices,
                                         const Choice &offered) = 0;
    // Two versions side by side, read-only; the index of the choice pressed, nothing on Cancel.
    virtual std::optional<int> compare(const QString &title, const QString &prompt, const Side &left, const Side &right,
                                       const QStringList &choices) = 0;
    // A time of day, `offered` shown first; nothing on Cancel.
    virtual std::optional<QTime> timeOfDay(const QString &title, const QString &prompt, QTime offered) = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Dialogs::ColorFlags)

// The answer a box gives when it is closed without a choice.
Dialogs::Button closingButton(Dialogs::Buttons buttons);
// OK or Yes: what Enter presses on most boxes.
Dialogs::Button firstButton(Dialogs::Buttons buttons);
bool offers(Dialogs::Buttons buttons, Dialogs::Button button);

inline Dialogs::Button Dialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    return message(text, title, icon, buttons, firstButton(buttons));
}
