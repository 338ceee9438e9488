#include "pageexport.h"

#include "picture.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace richtext {

namespace {

QString dataUrl(const QTextDocument &document, const QTextImageFormat &format)
{
    const auto stored = storedPicture(document, format);
    if (!stored)
        return {};
    if (stored->kind == StoredPicture::Kept) {
        const QSize size(qRound(format.width()), qRound(format.height()));
        const StoredPicture shown = compactPicture(placeholderImage(size));
        return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(shown.bytes.toBase64());
    }
    const QString type = stored->kind == StoredPicture::Png ? QStringLiteral("png") : QStringLiteral("jpeg");
    return QStringLiteral("data:image/%1;base64,").arg(type) + QString::fromLatin1(stored->bytes.toBase64());
}

} // namespace

QString plainText(const QTextDocument &document)
{
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter);
}

QString htmlWithPictures(const QTextDocument &document)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    QList<QTextCursor> pictures;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                continue;
            QTextCursor picture(copy.get());
            picture.setPosition(it.fragment().position());
            picture.setPosition(it.fragment().position() + it.fragment().length(), QTextCursor::KeepAnchor);
            pictures.append(picture);
        }
    }
    for (QTextCursor &picture : pictures) {
        QTextImageFormat format = picture.charFormat().toImageFormat();
        format.setName(dataUrl(document, format));
        picture.setCharFormat(format);
    }
    return copy->toHtml();
}

} // namespace richtext
