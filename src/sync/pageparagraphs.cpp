#include "pageparagraphs.h"

#include "diary/dataroot.h"
#include "diary/pagestore.h"
#include "richtext/picture.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "richtext/rule.h"
#include "richtext/unchecked.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pageparagraphs {

namespace {

// A picture keeps its stored bytes and its shown size in the document it goes to.
void copyBlock(const QTextBlock &block, QTextCursor &to)
{
    to.setBlockFormat(block.blockFormat());
    to.setBlockCharFormat(block.charFormat());
    const QTextDocument &from = *block.document();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().isImageFormat()) {
            to.insertText(fragment.text(), fragment.charFormat());
            continue;
        }
        const QTextImageFormat image = fragment.charFormat().toImageFormat();
        const auto stored = richtext::storedPicture(from, image);
        const auto shown = from.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        for (int i = 0; i < fragment.length(); ++i)
            to.insertImage(stored ? richtext::addPicture(*to.document(), *stored, shown, QSizeF(image.width(), image.height()))
                                  : image);
    }
}

// The versions a merge reads of a large page share most of their paragraphs.
QStringList paragraphsOf(const QTextDocument &page, Pool *pool)
{
    QStringList paragraphs;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        QTextDocument alone;
        QTextCursor cursor(&alone);
        copyBlock(block, cursor);
        const QString paragraph = QString::fromLatin1(richtext::writeRtf(alone));
        // A set hands back the one it holds.
        paragraphs << (pool ? *pool->insert(paragraph) : paragraph);
    }
    return paragraphs;
}

} // namespace

std::optional<QStringList> split(QByteArrayView rtf, Pool *pool)
{
    QTextDocument page;
    return richtext::readRtf(rtf, page) ? std::optional(paragraphsOf(page, pool)) : std::nullopt;
}

QByteArray join(const QStringList &paragraphs)
{
    QTextDocument page;
    QTextCursor cursor(&page);
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        QTextDocument alone;
        if (richtext::readRtf(paragraphs[i].toLatin1(), alone))
            copyBlock(alone.firstBlock(), cursor);
    }
    return richtext::writeRtf(page);
}

// A version larger than a page may be is not merged but compared, and its RTF is let go once read.
copymerge::Lines pageLines(const DataRoot &root, QDate day, std::shared_ptr<Pool> pool)
{
    const QString page = root.pagePath(day);
    if (!pool)
        pool = std::make_shared<Pool>();
    return {[&root, page, pool](const QString &file) -> std::optional<QStringList> {
                QTextDocument read;
                {
                    const auto rtf = pagestore::loadFile(root, file, page);
                    if (!rtf || rtf->size() > pagestore::kLargestPageText || !richtext::readRtf(*rtf, read))
                        return std::nullopt;
                }
                return paragraphsOf(read, pool.get());
            },
            [&root, day, pool](const QStringList &paragraphs) {
                pool->clear();
                return pagestore::save(root, day, join(paragraphs));
            },
            // A line drawn across the page, then the heading, which the spelling
            // passes over: it is the program's, not the user's words.
            [](const QString &text) {
                QTextDocument rule;
                QTextBlockFormat ruled;
                richtext::setRule(ruled);
                QTextCursor(&rule).setBlockFormat(ruled);
                QTextDocument heading;
                QTextCharFormat unchecked;
                richtext::setUnchecked(unchecked);
                QTextCursor(&heading).insertText(text, unchecked);
                return QStringList{QString::fromLatin1(richtext::writeRtf(rule)), QString::fromLatin1(richtext::writeRtf(heading))};
            }};
}

} // namespace pageparagraphs
