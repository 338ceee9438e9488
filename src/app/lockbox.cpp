#include "lockbox.h"

#include "ui/look.h"
#include "seams/busycursor.h"
#include "ui/screenplacement.h"
#include "vault/wipe.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LockBox::LockBox(Unlock unlock, QWidget *parent)
    // No close, minimise or maximise button: locked, nothing typed can be saved, so closing could only
    // leave it as unsaved work for the next start, and a box minimised away would leave no window at all.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_unlock(std::move(unlock))
{
    setObjectName(QStringLiteral("LockBox"));
    keepSelectionReadable(*this);
    setWindowTitle(QStringLiteral("Quillnest is locked"));
    // Over any question a command was asking when the lock came, which stays unanswered beneath.
    setWindowModality(Qt::ApplicationModal);

    Label1 = new QLabel(QStringLiteral("Enter the Password"), this);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setAccessibleName(QStringLiteral("Password"));
    Text1->setMinimumWidth(Text1->fontMetrics().averageCharWidth() * 24);
    Label1->setBuddy(Text1);
    wrongPassword = new QLabel(QStringLiteral("Wrong password. Try again."), this);
    wrongPassword->setObjectName(QStringLiteral("wrongPassword"));
    wrongPassword->hide();
    Command1 = new QPushButton(QStringLiteral("Unlock"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    // The complaint keeps its room while hidden, so a wrong password moves nothing.
    QSizePolicy keepRoom = wrongPassword->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    wrongPassword->setSizePolicy(keepRoom);

    // Compact, as the sign-in's password box: the field beside its label, Unlock under the field's end.
    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Text1, 0, 1);
    layout->addWidget(wrongPassword, 1, 0, 1, 2);
    layout->addWidget(Command1, 2, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Sized now, so that it is centred by its own size, not by a new window's default.
    layout->activate();

    connect(Text1, &QLineEdit::returnPressed, this, &LockBox::tryPassword);
    connect(Command1, &QPushButton::clicked, this, &LockBox::tryPassword);
}

void LockBox::showLocked()
{
    Text1->clear();
    wrongPassword->hide();
    showOnScreen(*this, nullptr);
    activateWindow();
    Text1->setFocus();
}

void LockBox::tryPassword()
{
    QString typed = Text1->text();
    // Nothing typed is no attempt, and not worth a key derivation.
    if (typed.isEmpty())
        return;
    Text1->clear();
    const bool opened = [&] {
        const BusyCursor busy;
        return m_unlock(typed);
    }();
    wipe(typed);
    wrongPassword->setVisible(!opened);
    if (!opened)
        Text1->setFocus();
}

// A log-out still closes the box and gives up the diary; nothing is left to
// save, as the drafts were written before the key went.
void LockBox::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closeRequested();
}
