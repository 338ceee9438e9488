#include "scripteddialogs.h"

#include "ui/modcenter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return "message box";
    case ScriptedDialogs::Kind::Input:
        return "input box";
    case ScriptedDialogs::Kind::OpenFile:
        return "open-file dialog";
    case ScriptedDialogs::Kind::SaveFile:
        return "save-file dialog";
    case ScriptedDialogs::Kind::OpenFolder:
        return "open-folder dialog";
    case ScriptedDialogs::Kind::Choose:
        return "choice dialog";
    case ScriptedDialogs::Kind::Color:
        break;
    }
    return "colour dialog";
}

} // namespace

void PrintTo(const ScriptedDialogs::Shown &shown, std::ostream *out)
{
    *out << kindName(shown.kind) << " \"" << shown.text.toStdString() << "\" in \"" << shown.folder.toStdString() << "\" titled \""
         << shown.title.toStdString() << "\" icon " << int(shown.icon) << " buttons " << int(shown.buttons)
         << " default " << int(shown.defaultButton) << " echo " << int(shown.echo) << " filter \"" << shown.filter.toStdString() << "\" flags "
         << shown.colorFlags.toInt() << " colour " << shown.color.name().toStdString() << " choices \""
         << shown.choices.join(QLatin1Char('|')).toStdString() << '"';
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted answer(s) left over: an expected box never came";
}

void ScriptedDialogs::answerMessage(Button button)
{
    m_answers.emplace_back(MessageAnswer{button});
}

void ScriptedDialogs::answerInput(const QString &text)
{
    m_answers.emplace_back(InputAnswer{text});
}

void ScriptedDialogs::answerOpenFile(const QString &path)
{
    m_answers.emplace_back(FileAnswer{path});
}

void ScriptedDialogs::answerSaveFile(const QString &path)
{
    m_answers.emplace_back(SaveAnswer{path});
}

void ScriptedDialogs::answerColor(std::optional<QColor> color)
{
    m_answers.emplace_back(ColorAnswer{std::move(color)});
}

void ScriptedDialogs::answerOpenFolder(const QString &path)
{
    m_answers.emplace_back(FolderAnswer{path});
}

void ScriptedDialogs::answerChoice(std::optional<Choice> choice)
{
    m_answers.emplace_back(ChoiceAnswer{std::move(choice)});
}

QStringList ScriptedDialogs::texts() const
{
    QStringList texts;
    for (const Shown &shown : m_shown)
        texts.append(shown.text);
    return texts;
}

// Records the box, then takes the next answer if it is of type T; a wrong
// answer stays queued, so the rest of the script does not shift silently.
template <typename T>
std::optional<T> ScriptedDialogs::take(const Shown &shown)
{
    m_shown.append(shown);
    m_shown.last().centred = CenteringInForce();
    if (!m_answers.empty()) {
        if (const T *answer = std::get_if<T>(&m_answers.front())) {
            const T taken = *answer;
            m_answers.pop_front();
            return taken;
        }
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
    const auto answer = take<MessageAnswer>(
        {.kind = Kind::Message, .text = text, .title = title, .icon = icon, .buttons = buttons, .defaultButton = defaultButton});
    if (!answer)
        return closingButton(buttons);
    if (offers(buttons, answer->button))
        return answer->button;
    ADD_FAILURE() << "scripted button " << int(answer->button) << " is not on the box \"" << text.toStdString() << "\"";
    return closingButton(buttons);
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title, Echo echo)
{
    return take<InputAnswer>({.kind = Kind::Input, .text = prompt, .title = title, .echo = echo}).value_or(InputAnswer{}).text;
}

QString ScriptedDialogs::openFile(const QString &title, const QString &filter, const QString &folder)
{
    return take<FileAnswer>({.kind = Kind::OpenFile, .title = title, .filter = filter, .folder = folder}).value_or(FileAnswer{}).path;
}

QString ScriptedDialogs::saveFile(const QString &title, const QString &suggestedName, const QString &filter)
{
    return take<SaveAnswer>({.kind = Kind::SaveFile, .text = suggestedName, .title = title, .filter = filter})
        .value_or(SaveAnswer{})
        .path;
}

std::optional<QColor> ScriptedDialogs::color(ColorFlags flags, const QColor &current)
{
    return take<ColorAnswer>({.kind = Kind::Color, .colorFlags = flags, .color = current}).value_or(ColorAnswer{}).color;
}

QString ScriptedDialogs::openFolder(const QString &title, const QString &folder)
{
    const auto answer = take<FolderAnswer>({.kind = Kind::OpenFolder, .title = title, .folder = folder});
    return answer ? answer->path : QString();
}

std::optional<Dialogs::Choice> ScriptedDialogs::choose(const QString &title, const QString &prompt, const QStringList &choices,
                                                       const Choice &offered)
{
    const auto answer = take<ChoiceAnswer>({.kind = Kind::Choose, .text = prompt, .title = title, .choices = choices,
                                            .range = offered.range, .offeredIndex = offered.index});
    return answer ? answer->choice : std::nullopt;
}
