#include "rtfpages.h"

#include "pictures.h"

#include "richtext/picture.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace rtfpages {

QByteArray file(const QString &path)
{
    QFile file(QDir(QStringLiteral(RICHTEXT_DATA)).filePath(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

std::vector<Page> shownPages()
{
    const QByteArray huge(richtext::limits::kPictureBytes + 1, '\x42');
    std::vector<Page> pages{
        {"picture above the limit", "{\\rtf1 a\\par{\\pict\\pngblip\\bin" + QByteArray::number(huge.size()) + " " + huge + "}b}",
         QStringLiteral("a\u2029b")},
        {"deep groups", "{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + " out}", "deep out"},
        {"deep groups and backslashes", QByteArray(100000, '{') + "\\'" + QByteArray(1000, '\\'), QString(500, QLatin1Char('\\'))},
    };
    const QJsonObject shown = QJsonDocument::fromJson(file(QStringLiteral("shown.json"))).object();
    for (auto it = shown.begin(); it != shown.end(); ++it)
        pages.push_back({it.key(), file(QStringLiteral("pages/%1.rtf").arg(it.key())), it.value().toString()});
    EXPECT_EQ(shown.size(), QDir(QStringLiteral(RICHTEXT_DATA "/pages")).entryList(QDir::Files).size()) << "a page without its text";
    return pages;
}

std::vector<Page> edgePages()
{
    std::vector<Page> pages;
    for (const QString &name : QDir(QStringLiteral(RICHTEXT_DATA "/edges")).entryList(QDir::Files))
        pages.push_back({name, file(QStringLiteral("edges/") + name), {}});
    return pages;
}

QList<QTextImageFormat> images(const QTextDocument &document)
{
    QList<QTextImageFormat> found;
    const QString mark(QChar::ObjectReplacementCharacter);
    for (QTextCursor at = document.find(mark); !at.isNull(); at = document.find(mark, at))
        found.append(at.charFormat().toImageFormat());
    return found;
}

QByteArray storedBytes(const QTextDocument &document)
{
    return richtext::storedPicture(document, images(document).value(0)).value_or(richtext::StoredPicture()).bytes;
}

void expectDrawing(const QTextDocument &document, QSizeF size)
{
    const QList<QTextImageFormat> images = rtfpages::images(document);
    ASSERT_EQ(images.size(), 1);
    const auto stored = richtext::storedPicture(document, images[0]);
    ASSERT_TRUE(stored);
    // An empty size asks for no size.
    EXPECT_EQ(std::tuple(size.isEmpty() ? size : QSizeF(images[0].width(), images[0].height()), stored->kind,
                         richtext::decodeImage(stored->bytes).convertToFormat(QImage::Format_RGB32)),
              std::tuple(size, richtext::StoredPicture::Png, testpictures::drawing()));
}

std::unique_ptr<QTextDocument> read(QByteArrayView rtf)
{
    auto document = std::make_unique<QTextDocument>();
    EXPECT_TRUE(richtext::readRtf(rtf, *document));
    return document;
}

} // namespace rtfpages
