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
        // OK waits for two days.
        const auto check = [=] { buttons->button(QDialogButtonBox::Ok)->setEnabled(from->day().isValid() && to->day().isValid()); };
        QObject::connect(from, &QLineEdit::textChanged, &dialog, check);
        QObject::connect(to, &QLineEdit::textChanged, &dialog, check);
        form->addRow(QObject::tr("From:"), from);
        form->addRow(QObject::tr("To:"), to);
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
