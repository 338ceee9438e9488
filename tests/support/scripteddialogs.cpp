#include "scripteddialogs.h"

#include "ui/modcenter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// In the order of ScriptedDialogs::Kind.
constexpr const char *kKindNames[] = {"message box",   "input box",          "open-file dialog", "save-file dialog",
                                      "colour dialog", "open-folder dialog", "choice dialog",    "comparison dialog", "time dialog"};

} // namespace

void PrintTo(const ScriptedDialogs::Shown &shown, std::ostream *out)
{
    *out << kKindNames[int(shown.kind)] << " \"" << shown.text.toStdString() << "\" in \"" << shown.folder.toStdString() << "\" titled \""
         << shown.title.toStdString() << "\" icon " << int(shown.icon) << " buttons " << int(shown.buttons)
         << " default " << int(shown.defaultButton) << " echo " << int(shown.echo) << " filter \"" << shown.filter.toStdString() << "\" flags "
         << shown.colorFlags.toInt() << " colour " << shown.color.name().toStdString() << " time " << shown.time.toString().toStdString() << " choices \""
         << shown.choices.join(QLatin1Char('|')).toStdString() << '"';
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted answer(s) left over: an expected box never came";
}

QStringList ScriptedDialogs::texts() const
{
    QStringList texts;
    for (const Shown &shown : m_shown)
        texts.append(shown.text);
    return texts;
}

// Records the box, then takes the next answer if it is of the box's kind; a
// wrong answer stays queued, so the rest of the script does not shift silently.
std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(const Shown &shown)
{
    m_shown.append(shown);
    m_shown.last().centred = CenteringInForce();
    if (!m_answers.empty() && m_answers.front().kind == shown.kind) {
        const Answer taken = m_answers.front();
        m_answers.pop_front();
        return taken;
    }
    std::ostringstream box;
    PrintTo(shown, &box);
    ADD_FAILURE() << "unexpected " << box.str();
    return std::nullopt;
}

ScriptedDialogs::Shown ScriptedDialogs::shownBox(const messages::Box &box)
{
    return {.kind = Kind::Message, .text = box.text, .title = box.title, .icon = box.icon, .buttons = box.buttons,
            .defaultButton = box.defaultButton};
}

Dialogs::Button ScriptedDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons, Button defaultButton)
{
    const auto answer = take(
        {.kind = Kind::Message, .text = text, .title = title, .icon = icon, .buttons = buttons, .defaultButton = defaultButton});
    if (!answer)
        return closingButton(buttons);
    if (offers(buttons, answer->button))
        return answer->button;
    ADD_FAILURE() << "scripted button " << int(answer->button) << " is not on the box \"" << text.toStdString() << "\"";
    return closingButton(buttons);
}

QString ScriptedDialogs::openFile(const QString &title, const QString &filter, const QString &folder)
{
    return take({.kind = Kind::OpenFile, .title = title, .filter = filter, .folder = folder}).value_or(Answer{}).text;
}

QString ScriptedDialogs::saveFile(const QString &title, const QString &suggestedName, const QString &filter)
{
    return take({.kind = Kind::SaveFile, .text = suggestedName, .title = title, .filter = filter}).value_or(Answer{}).text;
}

std::optional<Dialogs::Choice> ScriptedDialogs::choose(const QString &title, const QString &prompt, const QStringList &choices,
                                                       const Choice &offered)
{
    return take({.kind = Kind::Choose, .text = prompt, .title = title, .choices = choices, .range = offered.range,
                 .offeredIndex = offered.index})
        .value_or(Answer{})
        .choice;
}

namespace {

QStringList shownSide(const Dialogs::Side &side)
{
    QStringList shown{side.caption};
    for (QTextBlock block = side.document->begin(); block.isValid(); block = block.next())
        shown << (block.blockFormat().background().style() == Qt::NoBrush ? QString() : QStringLiteral("* ")) + block.text();
    return shown;
}

} // namespace

std::optional<int> ScriptedDialogs::compare(const QString &title, const QString &prompt, const Side &left, const Side &right,
                                            const QStringList &choices)
{
    const auto answer = take({.kind = Kind::Compare, .text = prompt, .title = title, .choices = choices,
                              .sides = {shownSide(left), shownSide(right)}});
    return answer && answer->choice ? std::optional(answer->choice->index) : std::nullopt;
}
