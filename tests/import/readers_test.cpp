#include "import/diaryimport.h"
#include "import/readers.h"

#include "samples.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace diaryimport;
using namespace Qt::StringLiterals;

namespace {

// A section of samples/reads.txt: "@@ name source path", then what reading the
// sample gives.
struct Sample
{
    std::string name;
    QStringList sourcePathAndExpected;
};

std::vector<Sample> samples()
{
    std::vector<Sample> rows;
    for (const QString &section : QString::fromUtf8(sampleBytes(u"reads.txt"_s)).split(u"@@ "_s, Qt::SkipEmptyParts)) {
        const QStringList head = section.section(u'\n', 0, 0).split(u' ');
        rows.push_back({head[0].toStdString(), {head[1], head[2], section.section(u'\n', 1)}});
    }
    return rows;
}

QString fingerprint(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().left(12));
}

// Each entry made whole as its page gets it, the tags kept beside it, its pictures by name with their
// bytes' fingerprint or why they were refused.
QString described(const Read &read)
{
    static const char *const kMarkups[]{"plain", "markdown", "html"};
    QString out = read.error ? u"refused: "_s + *read.error + u'\n' : QString();
    for (const Entry &each : read.entries) {
        const Entry entry = wholeEntry(each);
        out += u"== %1 %2 %3 %4\n%5\n"_s.arg(entry.day.toString(Qt::ISODate), entry.time ? entry.time->toString(Qt::ISODate) : u"-"_s,
                                               QLatin1String(kMarkups[int(entry.markup)]), entry.title, entry.text);
        if (!entry.tags.isEmpty())
            out += u"tags "_s + entry.tags.join(u'|') + u'\n';
        QStringList pictures;
        for (auto it = entry.pictures.cbegin(); it != entry.pictures.cend(); ++it)
            pictures.append(it.key() + u' ' + fingerprint(it.value()));
        for (auto it = entry.pictureFiles.cbegin(); it != entry.pictureFiles.cend(); ++it) {
            QString why;
            const auto bytes = it.value()(why);
            pictures.append(it.key() + u" file "_s + (bytes ? fingerprint(*bytes) : why));
        }
        pictures.sort();
        for (const QString &picture : pictures)
            out += u"picture "_s + picture + u'\n';
    }
    return out.replace(samplePath({}), u"SAMPLES/"_s);
}

class ReadSample : public testing::TestWithParam<Sample> {};

} // namespace

TEST_P(ReadSample, GivesItsEntriesOrItsRefusalWhole)
{
    const QStringList &row = GetParam().sourcePathAndExpected;
    EXPECT_EQ(described(readDiary(*sourceNamed(row[0]), samplePath(row[1]))).toStdString(), row[2].toStdString());
}

INSTANTIATE_TEST_SUITE_P(Samples, ReadSample, testing::ValuesIn(samples()), [](const auto &row) { return row.param.name; });

// Refused by their size before a byte is read: the files are sparse. Each entry
// costs its place even when it is tiny, so their number is bounded too.
TEST(Import, RefusesHugeFilesAndTooManyEntries)
{
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes, qint64 size) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.resize(std::max<qint64>(size, bytes.size())));
        return file.fileName();
    };
    EXPECT_EQ(readJrnl(write(u"huge.json"_s, "{", (qint64(256) << 20) + 1)).error, u"huge.json: larger than 256 MiB, more than an import takes"_s);
    const QString many = write(u"many.json"_s, "{\"entries\": [" + QByteArray("{},").repeated(500000) + "{}]}", 0);
    EXPECT_EQ(readJrnl(many).error, u"many.json: more than 500000 entries, more than an import takes"_s);
    write(u"2024-03-05.md"_s, {}, kLargestDayText + 1);
    EXPECT_EQ(readMarkdown(dir.path()).error, u"2024-03-05.md: larger than 4 MiB, more than an import takes"_s);
}
