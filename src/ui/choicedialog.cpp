#include "choicedialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace {

QDateEdit *dayField(QWidget *parent, const Dialogs::DayRange &bounds, QDate shown)
{
    auto *field = new QDateEdit(shown, parent);
    field->setCalendarPopup(true);
    field->setDateRange(bounds.from, bounds.to);
    return field;
}

} // namespace

std::optional<Dialogs::Choice> runChoiceDialog(QWidget *parent, const QString &title, const QString &prompt,
                                               const QStringList &choices, std::optional<Dialogs::DayRange> range)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    auto *list = new QComboBox(&dialog);
    list->addItems(choices);
    form->addRow(prompt, list);
    QDateEdit *from = nullptr;
    QDateEdit *to = nullptr;
    if (range) {
        from = dayField(&dialog, *range, range->from);
        to = dayField(&dialog, *range, range->to);
        // The range never turns round: each end holds the other back.
        QObject::connect(from, &QDateEdit::dateChanged, to, [to](QDate day) { to->setMinimumDate(day); });
        QObject::connect(to, &QDateEdit::dateChanged, from, [from](QDate day) { from->setMaximumDate(day); });
        form->addRow(QObject::tr("From:"), from);
        form->addRow(QObject::tr("To:"), to);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    Dialogs::Choice choice{list->currentIndex(), std::nullopt};
    if (range)
        choice.range = Dialogs::DayRange{from->date(), to->date()};
    return choice;
}
