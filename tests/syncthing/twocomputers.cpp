#include "twocomputers.h"

#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "sync/copylines.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTextFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QByteArray page(const QStringList &paragraphs)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const QString &paragraph : paragraphs) {
        if (&paragraph != &paragraphs.front())
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(cursor.blockNumber() == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        QTextCharFormat format;
        format.setFontWeight(cursor.blockNumber() == 0 ? QFont::Bold : QFont::Normal);
        cursor.insertText(paragraph, format);
    }
    return richtext::writeRtf(document);
}

QString plainPage(const std::optional<QByteArray> &rtf)
{
    QTextDocument document;
    return rtf && richtext::readRtf(*rtf, document) ? document.toPlainText() : QString();
}

// Sorted, so a failure reads.
std::string missing(const QSet<QString> &expected, const QSet<QString> &found)
{
    QStringList words = (expected - found).values();
    words.sort();
    return words.join(u' ').toStdString();
}

} // namespace

QSet<QString> wordsOf(const QString &text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList words = text.split(space, Qt::SkipEmptyParts);
    return {words.begin(), words.end()};
}

QString DiaryText::file(const DataRoot &root) const
{
    return note ? root.notePath(daykeys::MonthDay{day.month(), day.day()}) : root.pagePath(day);
}

QStringList DiaryText::lines(const DataRoot &root) const
{
    const QString text = note ? notestore::decodeNote(notestore::load(root, {day.month(), day.day()}).value_or(QByteArray()))
                              : plainPage(pagestore::load(root, day));
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n"));
    return text.split(lineEnd);
}

Outcome DiaryText::save(const DataRoot &root, const QStringList &lines) const
{
    return note ? notestore::save(root, {day.month(), day.day()}, lines.join(u'\n')) : pagestore::save(root, day, page(lines));
}

Outcome DiaryText::remove(const DataRoot &root) const
{
    return note ? notestore::remove(root, {day.month(), day.day()}) : pagestore::remove(root, day);
}

QSet<QString> DiaryText::words(const DataRoot &root, bool withHistory) const
{
    const QString stored = file(root);
    QStringList files{stored};
    for (const history::Version &version : withHistory ? history::versions(root, stored) : QList<history::Version>())
        files << version.path;
    QSet<QString> found;
    for (const QString &path : files)
        found += wordsOf(note ? notestore::decodeNote(notestore::loadFile(root, path, stored).value_or(QByteArray()))
                              : plainPage(pagestore::loadFile(root, path, stored)));
    return found;
}

QSet<QString> Typist::type(const Edit &edit, const DiaryText &text, const DataRoot &root)
{
    if (edit.kind == Edit::None)
        return {};
    if (edit.kind == Edit::Remove) {
        EXPECT_TRUE(text.remove(root).ok());
        return {};
    }
    const QString words = QStringLiteral("%1%2 %1%3").arg(m_computer).arg(m_typed + 1).arg(m_typed + 2);
    m_typed += 2;
    QStringList lines = text.lines(root);
    if (edit.kind == Edit::Append)
        lines << words;
    else
        lines[edit.line] += u' ' + words;
    EXPECT_TRUE(text.save(root, lines).ok());
    return wordsOf(words);
}

QStringList conflictCopies(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (it.next().contains(QStringLiteral(".sync-conflict-")))
            found << QDir(folder).relativeFilePath(it.filePath());
    }
    return found;
}

int mergeCopies(const DataRoot &root)
{
    return int(copylines::mergeAll(root, conflictcopies::find(root)).size());
}

int settleCopies(const DataRoot &root, copymerge::Keep keep)
{
    int settled = 0;
    for (const conflictcopies::Found &copy : conflictcopies::find(root)) {
        const auto lines = copylines::of(root, copy);
        EXPECT_TRUE(lines && copymerge::settle(root, copy, *lines, keep, copymerge::otherHeading(copy.name)).ok()) << copy.copy.toStdString();
        ++settled;
    }
    return settled;
}

void TwoComputers::SetUp()
{
    ASSERT_TRUE(pair.begin());
    roots = {DataRoot(pair.folder(SyncthingPair::Desktop)), DataRoot(pair.folder(SyncthingPair::Laptop))};
    for (const DataRoot &root : roots)
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("pages")) && QDir(root.path()).mkpath(QStringLiteral("dates")));
}

void TwoComputers::expectOneText(const DiaryText &text, const QSet<QString> &typed) const
{
    for (const DataRoot &root : roots) {
        SCOPED_TRACE(root.path().toStdString());
        EXPECT_EQ(conflictCopies(root.path()), QStringList());
        EXPECT_EQ(text.lines(root), text.lines(roots.front()));
        EXPECT_EQ(missing(typed, text.words(root, false)), "");
    }
}

void TwoComputers::expectKept(const DiaryText &text, const QSet<QString> &written) const
{
    for (const DataRoot &root : roots)
        EXPECT_EQ(missing(written, text.words(root, true)), "") << root.path().toStdString();
}
