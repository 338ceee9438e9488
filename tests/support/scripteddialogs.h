#pragma once

#include "seams/dialogs.h"
#include "seams/messages.h"

#include <QList>

#include <deque>
#include <iosfwd>

// Dialogs for tests: records every box shown and answers each from a queue
// of expected answers. A box nobody expected (no answer left, or the next
// answer is for another kind of box or a button the box lacks) fails the
// test and is closed as by its Cancel. Answers still queued when the script
// goes away fail the test too: a box that was expected never came.
class ScriptedDialogs final : public Dialogs
{
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Color, OpenFolder, Choose, Compare, Time };

    struct Shown
    {
        Kind kind = Kind::Message;
        QString text{}; // the message, the input box's prompt, or the suggested file name
        QString title{};
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Echo echo = Echo::Plain;
        QString filter{};
        ColorFlags colorFlags{};
        QColor color{};
        bool centred = false; // shown while dialog centring was in force
        Button defaultButton = Button::Ok;
        QStringList choices{};
        std::optional<DayRange> range{};
        QString folder{}; // where a file or folder dialog starts
        int offeredIndex = 0;
        // A comparison's sides: the caption, then each paragraph, "* " before a marked one.
        QList<QStringList> sides{};
        QTime time{}; // the time a time dialog offers

        friend bool operator==(const Shown &, const Shown &) = default;
        friend void PrintTo(const Shown &shown, std::ostream *out);
    };

    // How `box` is recorded when it is shown.
    static Shown shownBox(const messages::Box &box);

    ScriptedDialogs() = default;
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    void answerMessage(Button button) { m_answers.push_back({.kind = Kind::Message, .button = button}); }
    void answerInput(const QString &text) { m_answers.push_back({.kind = Kind::Input, .text = text}); }
    void answerOpenFile(const QString &path) { m_answers.push_back({.kind = Kind::OpenFile, .text = path}); }
    void answerSaveFile(const QString &path) { m_answers.push_back({.kind = Kind::SaveFile, .text = path}); }
    void answerColor(std::optional<QColor> color) { m_answers.push_back({.kind = Kind::Color, .color = color}); }
    void answerOpenFolder(const QString &path) { m_answers.push_back({.kind = Kind::OpenFolder, .text = path}); }
    void answerChoice(std::optional<Choice> choice) { m_answers.push_back({.kind = Kind::Choose, .choice = choice}); }
    void answerCompare(std::optional<int> index) { m_answers.push_back({.kind = Kind::Compare, .choice = index ? std::optional(Choice{.index = *index, .range = std::nullopt}) : std::nullopt}); }
    void answerTime(std::optional<QTime> time) { m_answers.push_back({.kind = Kind::Time, .time = time}); }

    const QList<Shown> &shown() const { return m_shown; }
    // The texts of the boxes shown so far, in order.
    QStringList texts() const;

    using Dialogs::message;
    Button message(const QString &text, const QString &title, Icon icon, Buttons buttons, Button defaultButton) override;
    QString input(const QString &prompt, const QString &title, Echo echo) override { return take({.kind = Kind::Input, .text = prompt, .title = title, .echo = echo}).value_or(Answer{}).text; }
    QString openFile(const QString &title, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &title, const QString &suggestedName, const QString &filter) override;
    std::optional<QColor> color(ColorFlags flags, const QColor &current) override { return take({.kind = Kind::Color, .colorFlags = flags, .color = current}).value_or(Answer{}).color; }
    QString openFolder(const QString &title, const QString &folder) override { return take({.kind = Kind::OpenFolder, .title = title, .folder = folder}).value_or(Answer{}).text; }
    std::optional<Choice> choose(const QString &title, const QString &prompt, const QStringList &choices,
                                 const Choice &offered) override;
    std::optional<int> compare(const QString &title, const QString &prompt, const Side &left, const Side &right,
                               const QStringList &choices) override;
    std::optional<QTime> timeOfDay(const QString &title, const QString &prompt, QTime offered) override { return take({.kind = Kind::Time, .text = prompt, .title = title, .time = offered}).value_or(Answer{}).time; }

private:
    // The answer to the next box, which must be of its kind: a button, a typed text or a path, a colour or a choice.
    struct Answer
    {
        Kind kind = Kind::Message;
        Button button = Button::Ok;
        QString text{};
        std::optional<QColor> color{};
        std::optional<Choice> choice{};
        std::optional<QTime> time{};
    };

    std::optional<Answer> take(const Shown &shown);

    QList<Shown> m_shown;
    std::deque<Answer> m_answers;
};
