#include "choicedialog.h"

#include "dayfield.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace {

// Either end may be typed first, so a range typed back to front is turned round.
Dialogs::DayRange ordered(QDate from, QDate to)
{
    if (to < from)
        std::swap(from, to);
    return {from, to};
}

// Shown on the day the box offers, so the example is one the user knows.
QString dayForms(QDate day, const QLocale &locale)
{
    return QObject::tr("Type each day as %1, %2 or %3.")
        .arg(dayText(day, locale), day.toString(Qt::ISODate), locale.toString(day, QStringLiteral("d MMMM yyyy")));
}

} // namespace

std::optional<Dialogs::Choice> runChoiceDialog(QWidget *parent, const QString &title, const QString &prompt,
                                               const QStringList &choices, const Dialogs::Choice &offered)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    auto *list = new QComboBox(&dialog);
    list->addItems(choices);
    list->setCurrentIndex(offered.index);
    auto *told = new QLabel(prompt, &dialog);
    told->setTextFormat(Qt::PlainText);
    told->setBuddy(list);
    form->addRow(told, list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    DayField *from = nullptr;
    DayField *to = nullptr;
    if (offered.range) {
        from = new DayField(offered.range->from, &dialog);
        to = new DayField(offered.range->to, &dialog);
        // OK waits for two days, and while it does the forms a day is read in are named.
        auto *forms = new QLabel(dayForms(offered.range->from, from->locale()), &dialog);
        forms->setObjectName(QStringLiteral("dayForms"));
        forms->setTextFormat(Qt::PlainText);
        forms->setWordWrap(true);
        forms->hide();
        const auto check = [=] {
            const bool read = from->day().isValid() && to->day().isValid();
            buttons->button(QDialogButtonBox::Ok)->setEnabled(read);
            forms->setVisible(!read);
        };
        QObject::connect(from, &QLineEdit::textChanged, &dialog, check);
        QObject::connect(to, &QLineEdit::textChanged, &dialog, check);
        form->addRow(QObject::tr("From:"), from);
        form->addRow(QObject::tr("To:"), to);
        form->addRow(forms);
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    Dialogs::Choice choice{list->currentIndex(), std::nullopt};
    if (offered.range)
        choice.range = ordered(from->day(), to->day());
    return choice;
}
