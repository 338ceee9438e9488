#include "timedialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>

std::optional<QTime> runTimeDialog(QWidget *parent, const QString &title, const QString &prompt, QTime offered)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    auto *edit = new QTimeEdit(offered, &dialog);
    // Hours and minutes: the timer starts on the minute, and its unit is written without seconds.
    edit->setDisplayFormat(QLocale().timeFormat(QLocale::ShortFormat));
    auto *told = new QLabel(prompt, &dialog);
    told->setTextFormat(Qt::PlainText);
    told->setBuddy(edit);
    form->addRow(told, edit);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->time();
}
