#include "qtdialogs.h"

#include "choicedialog.h"
#include "comparedialog.h"
#include "filefilter.h"
#include "timedialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace {

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::None:
        break;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        break;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton qtButton(Dialogs::Button button)
{
    switch (button) {
    case Dialogs::Button::Ok:
        break;
    case Dialogs::Button::Cancel:
        return QMessageBox::Cancel;
    case Dialogs::Button::Yes:
        return QMessageBox::Yes;
    case Dialogs::Button::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Dialogs::Button pressed(int result, Dialogs::Buttons buttons)
{
    switch (result) {
    case QMessageBox::Ok:
        return Dialogs::Button::Ok;
    case QMessageBox::Cancel:
        return Dialogs::Button::Cancel;
    case QMessageBox::Yes:
        return Dialogs::Button::Yes;
    case QMessageBox::No:
        return Dialogs::Button::No;
    default:
        return closingButton(buttons);
    }
}

void offerFilters(QFileDialog &dialog, const QString &filter)
{
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
}

QString chosenFile(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QtDialogs::QtDialogs(QWidget *parent) : m_parent(parent) {}

Dialogs::Button QtDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons, Button defaultButton)
{
    QMessageBox box(qtIcon(icon), title, text, qtButtons(buttons), m_parent);
    // The texts name files, computers and pages' lines from the folder; none of ours is markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(qtButton(defaultButton));
    return pressed(box.exec(), buttons);
}

QString QtDialogs::input(const QString &prompt, const QString &title, Echo echo)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.findChild<QLabel *>()->setTextFormat(Qt::PlainText);
    dialog.setTextEchoMode(echo == Echo::Masked ? QLineEdit::Password : QLineEdit::Normal);
    QString typed = dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
    // A password's field is emptied with its undo steps, so the caller holds the one copy to wipe.
    if (echo == Echo::Masked)
        dialog.setTextValue(QString());
    return typed;
}

QString QtDialogs::openFile(const QString &title, const QString &filter, const QString &folder)
{
    QFileDialog dialog(m_parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    offerFilters(dialog, filter);
    return chosenFile(dialog);
}

// A name typed without an extension gets the suggested name's.
QString QtDialogs::saveFile(const QString &title, const QString &suggestedName, const QString &filter)
{
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    offerFilters(dialog, filter);
    dialog.selectFile(suggestedName);
    return chosenFile(dialog);
}

// Qt's own colour dialog always shows the custom colours, so only the
// preselection flag changes anything.
std::optional<QColor> QtDialogs::color(ColorFlags flags, const QColor &current)
{
    QColorDialog dialog(m_parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (flags.testFlag(PreselectCurrent))
        dialog.setCurrentColor(current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QString QtDialogs::openFolder(const QString &title, const QString &folder)
{
    QFileDialog dialog(m_parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chosenFile(dialog);
}

std::optional<Dialogs::Choice> QtDialogs::choose(const QString &title, const QString &prompt, const QStringList &choices,
                                                 const Choice &offered)
{
    return runChoiceDialog(m_parent, title, prompt, choices, offered);
}

std::optional<int> QtDialogs::compare(const QString &title, const QString &prompt, const Side &left, const Side &right,
                                      const QStringList &choices)
{
    return runCompareDialog(m_parent, title, prompt, {left, right}, choices);
}

std::optional<QTime> QtDialogs::timeOfDay(const QString &title, const QString &prompt, QTime offered)
{
    return runTimeDialog(m_parent, title, prompt, offered);
}
