#include "pageexport.h"

#include "picture.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <utility>
#include <vector>

namespace richtext {

namespace {

// Names no text can hold in the HTML: a quote in text is written as &quot;.
const QByteArray kPlaceholder = QByteArrayLiteral("src=\"#quillnest-picture-");

// What a picture's data URL holds, its Base64 not yet made.
struct Shown
{
    QByteArray type;
    QByteArray bytes;
};

Shown shownPicture(const QTextDocument &document, const QTextImageFormat &format)
{
    const auto stored = storedPicture(document, format);
    if (!stored)
        return {};
    if (stored->kind == StoredPicture::Kept) {
        const QSize size(qRound(format.width()), qRound(format.height()));
        return {"png", compactPicture(placeholderImage(size)).bytes};
    }
    return {stored->kind == StoredPicture::Png ? "png" : "jpeg", stored->bytes};
}

qsizetype urlSize(const Shown &picture)
{
    return picture.type.isEmpty() ? 0 : 18 + picture.type.size() + (picture.bytes.size() + 2) / 3 * 4;
}

void appendUrl(QByteArray &html, const Shown &picture)
{
    if (!picture.type.isEmpty())
        html += "data:image/" + picture.type + ";base64," + picture.bytes.toBase64();
}

} // namespace

QString plainText(const QTextDocument &document)
{
    return document.toPlainText().remove(QChar::ObjectReplacementCharacter);
}

// Each picture's Base64 goes in only as the UTF-8 is put together: the page
// with its pictures was held in UTF-16 twice, more than three times the file.
QByteArray htmlWithPictures(const QTextDocument &document)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    QList<QTextCursor> places;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                continue;
            QTextCursor place(copy.get());
            place.setPosition(it.fragment().position());
            place.setPosition(it.fragment().position() + it.fragment().length(), QTextCursor::KeepAnchor);
            places.append(place);
        }
    }
    std::vector<Shown> pictures;
    qsizetype urls = 0;
    for (QTextCursor &place : places) {
        QTextImageFormat format = place.charFormat().toImageFormat();
        urls += urlSize(pictures.emplace_back(shownPicture(document, format)));
        format.setName(QStringLiteral("#quillnest-picture-%1").arg(pictures.size() - 1));
        place.setCharFormat(format);
    }
    const QByteArray page = copy->toHtml().toUtf8();
    QByteArray html;
    html.reserve(page.size() + urls);
    qsizetype from = 0;
    for (qsizetype at; (at = page.indexOf(kPlaceholder, from)) >= 0;) {
        const qsizetype number = at + kPlaceholder.size();
        const qsizetype end = page.indexOf('"', number);
        const std::size_t index = page.mid(number, end - number).toULongLong();
        html.append(page.constData() + from, at - from).append("src=\"");
        if (index < pictures.size())
            appendUrl(html, std::exchange(pictures[index], {}));
        from = end;
    }
    return html.append(page.constData() + from, page.size() - from);
}

} // namespace richtext
