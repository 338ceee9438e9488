#pragma once

#include "syncthingpair.h"
#include "testapplication.h"

#include "diary/dataroot.h"
#include "sync/copymerge.h"

#include <QDate>
#include <QSet>

#include <vector>

// A day's page or that day's yearly note, read and written through the program's own stores: a line is a
// paragraph of the page, the first one its centred bold title, or a line of the note.
struct DiaryText
{
    QDate day;
    bool note = false;

    QString file(const DataRoot &root) const;
    QStringList lines(const DataRoot &root) const;
    Outcome save(const DataRoot &root, const QStringList &lines) const;
    Outcome remove(const DataRoot &root) const;
    // The words of the text, and with the history those of every earlier version it keeps.
    QSet<QString> words(const DataRoot &root, bool withHistory) const;
};

QSet<QString> wordsOf(const QString &text);

// What one computer's user does to a text: a paragraph added at the end, words added to a paragraph, or the
// whole text deleted.
struct Edit
{
    enum Kind { None, Append, Extend, Remove } kind = None;
    int line = 0;
};

// Makes words no one typed before, named after the computer they are typed on.
class Typist
{
public:
    explicit Typist(QString computer) : m_computer(std::move(computer)) {}
    // Applies the edit and gives the words it typed.
    QSet<QString> type(const Edit &edit, const DiaryText &text, const DataRoot &root);

private:
    QString m_computer;
    int m_typed = 0;
};

// The names below a folder, its history included, that Syncthing gave a conflict copy.
QStringList conflictCopies(const QString &folder);

// What merges with no question, as a sign-in and quillnest-tool conflicts --merge do it; how many copies merged.
int mergeCopies(const DataRoot &root);
// Each copy left settled with the user's answer; how many there were.
int settleCopies(const DataRoot &root, copymerge::Keep keep);

// Two computers sharing one diary folder, each with the program's view of it.
class TwoComputers : public ::testing::Test
{
protected:
    void SetUp() override;

    // Both computers hold the same text, no conflict copy is left anywhere, and every typed word is in the text.
    void expectOneText(const DiaryText &text, const QSet<QString> &typed) const;
    // Every word either computer ever had in the text is in it or its history, on both.
    void expectKept(const DiaryText &text, const QSet<QString> &written) const;

    // Before the pair: its network access needs the application.
    const QApplication &application = testApplication();
    SyncthingPair pair;
    std::vector<DataRoot> roots;
    Typist desktopUser{QStringLiteral("desktop")};
    Typist laptopUser{QStringLiteral("laptop")};
};
