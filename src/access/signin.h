#pragma once

class Dialogs;
class Program;
class QString;

// Asks for the password once. Returns false after ending the program (no
// password file, or a wrong answer); the caller must then stop at once.
bool SignIn(const QString &passwordFile, Dialogs &dialogs, Program &program);

// File > Change Password: asks once for the new password and replaces the
// password file, telling the user how it went.
void ChangePassword(const QString &passwordFile, Dialogs &dialogs);
