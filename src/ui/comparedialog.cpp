#include "comparedialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace {

// The prompt and captions name the copies a sync program left in the folder.
QLabel *plainLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

std::optional<int> runCompareDialog(QWidget *parent, const QString &title, const QString &prompt,
                                    const std::array<Dialogs::Side, 2> &sides, const QStringList &choices)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto *grid = new QGridLayout(&dialog);
    auto *told = plainLabel(prompt);
    told->setWordWrap(true);
    grid->addWidget(told, 0, 0, 1, 2);
    for (int column = 0; column < 2; ++column) {
        auto *caption = plainLabel(sides[column].caption);
        auto *shown = new QTextEdit;
        shown->setReadOnly(true);
        // The window's own copy, so the caller's page keeps its marks and undo history.
        shown->setDocument(sides[column].document->clone(shown));
        caption->setBuddy(shown);
        grid->addWidget(caption, 1, column);
        grid->addWidget(shown, 2, column);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    std::optional<int> chosen;
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton *button = buttons->addButton(choices[i], QDialogButtonBox::AcceptRole);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&chosen, i] { chosen = i; });
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 2);
    dialog.resize(900, 560);
    return dialog.exec() == QDialog::Accepted ? chosen : std::nullopt;
}
