#include "storedpage.h"

#include "diary/pagestore.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "richtext/rule.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace storedpage {

std::unique_ptr<QTextDocument> read(const DataRoot &root, const QString &dayKey)
{
    auto page = std::make_unique<QTextDocument>();
    if (const auto rtf = pagestore::load(root, *daykeys::dateFromDayKey(dayKey))) {
        EXPECT_TRUE(richtext::readRtf(*rtf, *page));
    }
    return page;
}

QString text(const QTextDocument &page)
{
    const std::unique_ptr<QTextDocument> shown(page.clone());
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next()) {
        if (!richtext::hasRule(block.blockFormat()))
            continue;
        QTextCursor end(block);
        end.movePosition(QTextCursor::EndOfBlock);
        end.insertText(kRule);
    }
    return richtext::plainText(*shown);
}

QTextCharFormat formatOf(const QTextDocument &page, const QString &words)
{
    const QTextCursor found = page.find(words);
    EXPECT_FALSE(found.isNull()) << "no '" << words.toStdString() << "' in: " << text(page).toStdString();
    return found.charFormat();
}

void expectMarks(const QTextDocument &page, std::initializer_list<std::pair<const char *, const char *>> marks)
{
    for (const auto &[words, expected] : marks) {
        const QTextCharFormat format = formatOf(page, QString::fromUtf8(words));
        std::string found;
        for (const auto &[mark, on] : {std::pair{'b', format.fontWeight() >= QFont::Bold}, {'i', format.fontItalic()},
                                       {'u', format.fontUnderline()}, {'s', format.fontStrikeOut()}}) {
            if (on)
                found += mark;
        }
        EXPECT_EQ(found, expected) << words;
    }
}

std::vector<richtext::StoredPicture> pictures(const QTextDocument &page)
{
    std::vector<richtext::StoredPicture> found;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            if (const auto picture = richtext::storedPicture(page, format.toImageFormat()))
                found.push_back(*picture);
        }
    }
    return found;
}

QString samplePath(const QString &relative)
{
    return QStringLiteral(IMPORT_SAMPLES "/") + relative;
}

QByteArray sampleBytes(const QString &relative)
{
    QFile file(samplePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace storedpage
