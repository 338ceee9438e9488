#pragma once

#include <memory>

class Dialogs;
class Program;
class QString;
class Vault;

// Asks for the password once. Returns false after ending the program (no
// password file, or a wrong answer); the caller must then stop at once.
// In an encrypted diary the password opens its key slot, and vault receives
// the diary's key.
bool SignIn(const QString &passwordFile, Dialogs &dialogs, Program &program, std::shared_ptr<Vault> *vault = nullptr);

// File > Change Password on a plain diary: asks for the new password twice
// and replaces the password file, telling the user how it went.
void ChangePassword(const QString &passwordFile, Dialogs &dialogs);
