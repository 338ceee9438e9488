#pragma once

#include "seams/dialogs.h"

// Dialogs for a benchmark, which nobody answers: every box but a message is
// cancelled at once, and a message takes `answer` (or OK where it has no such button).
class QuietDialogs : public Dialogs
{
public:
    explicit QuietDialogs(Button answer = Button::Ok) : m_answer(answer) {}

    Button message(const QString &, const QString &, Icon, Buttons buttons, Button) override
    {
        ++shown;
        return offers(buttons, m_answer) ? m_answer : Button::Ok;
    }
    QString input(const QString &, const QString &, Echo) override { return {}; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QColor> color(ColorFlags, const QColor &) override { return std::nullopt; }
    QString openFolder(const QString &, const QString &) override { return {}; }
    std::optional<Choice> choose(const QString &, const QString &, const QStringList &, const Choice &) override
    {
        return std::nullopt;
    }
    std::optional<int> compare(const QString &, const QString &, const Side &, const Side &, const QStringList &) override
    {
        return std::nullopt;
    }
    std::optional<QTime> timeOfDay(const QString &, const QString &, QTime) override { return std::nullopt; }

    int shown = 0;

private:
    Button m_answer;
};
