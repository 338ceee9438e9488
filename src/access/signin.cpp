#include "signin.h"

#include "diary/passwordfile.h"
#include "seams/dialogs.h"
#include "seams/program.h"

#include <QFileInfo>

namespace {

bool endWith(Dialogs &dialogs, Program &program, const QString &text, const QString &title)
{
    dialogs.message(text, title, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    program.end();
    return false;
}

} // namespace

bool SignIn(const QString &passwordFile, Dialogs &dialogs, Program &program)
{
    if (!QFileInfo(passwordFile).isFile()) {
        return endWith(dialogs, program,
                       QStringLiteral("The password file has been erased or tampered with! This program will now close!"),
                       QStringLiteral("Password File has been tampered with!"));
    }
    const QByteArray stored = passwordfile::readStored(passwordFile);
    if (stored == passwordfile::noPasswordMarker()) {
        dialogs.message(QStringLiteral("Quillnest has no password. Click on ''File'' and click 'Change Password' to asign a password."),
                        QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return true;
    }
    // Masked: a password typed in clear could be read over the user's shoulder.
    const QString answer = dialogs.input(QStringLiteral("Enter the Password"), QStringLiteral("Password"), Dialogs::Echo::Masked);
    if (passwordfile::ScramblePassword(answer) != stored) {
        return endWith(dialogs, program, QStringLiteral("The password you have entered is incorrect. This program will end now."),
                       QStringLiteral("Wrong Password!"));
    }
    return true;
}

void ChangePassword(const QString &passwordFile, Dialogs &dialogs)
{
    const QString answer = dialogs.input(QStringLiteral("Enter Password, for no password enter letters: ''none''."),
                                         QStringLiteral("Enter Password"), Dialogs::Echo::Plain);
    if (answer.isEmpty()) {
        dialogs.message(QStringLiteral("Password has not been saved!"), QStringLiteral("Password NOT Saved"),
                        Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        return;
    }
    if (answer.toUcs4().size() < 4) {
        dialogs.message(QStringLiteral("Password must have at least 4 characters. The password will not be saved!"),
                        QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    if (!passwordfile::write(passwordFile, answer)) {
        dialogs.message(QStringLiteral("An error has occured! The password was not saved!"), QStringLiteral("ERROR"),
                        Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    dialogs.message(QStringLiteral("Password has been saved"), QStringLiteral("Password Saved"), Dialogs::Icon::Information,
                    Dialogs::Buttons::Ok);
}
