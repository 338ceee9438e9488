#pragma once

#include "daykeys.h"

#include <QString>

#include <memory>

class Vault;

// The folder under which every data file lies, and the fixed names beneath it.
// An encrypted diary's root also carries its vault, shared by every copy, so
// whatever reads or writes a file through the root seals and opens it.
class DataRoot
{
public:
    explicit DataRoot(const QString &path, std::shared_ptr<Vault> vault = {});

    Vault *vault() const { return m_vault.get(); }
    const std::shared_ptr<Vault> &sharedVault() const { return m_vault; }
    // A file's name below the root with '/' between folders, as files are sealed under it.
    QString relativeName(const QString &file) const;

    QString path() const { return m_path; }
    QString pagesDir() const;
    QString datesDir() const;
    QString passwordFile() const;
    QString helpFile() const;
    QString pagePath(QDate day) const;
    QString notePath(daykeys::MonthDay monthDay) const;
    // The file of a key read from a name, as drafts and listed files give it: "2026-12-04", "Dec-4".
    QString pagePath(const QString &dayKey) const;
    QString notePath(const QString &noteKey) const;
    // Makes a folder below the diary's folder, with its missing parents, but
    // never the diary's folder itself: one deleted while the program runs is
    // not replaced by an empty diary.
    bool makeFolder(const QString &folder) const;

private:
    QString m_path;
    std::shared_ptr<Vault> m_vault;
};
