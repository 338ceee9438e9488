#include "samplepages.h"

#include "pictures.h"

#include "diary/pagestore.h"

#include <QFile>

#include <gtest/gtest.h>

namespace samplepages {

QByteArray store(const DataRoot &root, const QString &dayKey, const QByteArray &body)
{
    const QByteArray rtf = kHeader + body + "}";
    EXPECT_TRUE(pagestore::save(root, *daykeys::dateFromDayKey(dayKey), rtf)) << dayKey.toStdString();
    return rtf;
}

QByteArray pictureGroup(const QByteArray &bytes, const char *blip, QSize pixels)
{
    return QByteArray("{\\pict\\") + blip + "\\picw" + QByteArray::number(pixels.width()) + "\\pich"
           + QByteArray::number(pixels.height()) + "\r\n" + testpictures::hexLines(bytes) + "}";
}

QString data(const QString &name)
{
    QFile file(QStringLiteral(EXPORT_DATA "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

} // namespace samplepages
