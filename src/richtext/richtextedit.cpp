#include "richtextedit.h"

#include "pageexport.h"
#include "pagerange.h"
#include "picture.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "selectionformat.h"

#include "diary/codepage.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

namespace {

constexpr qreal kTwipsPerInch = 1440;

// The value every character of the selection shares, or nothing when they differ.
template <typename Read>
auto common(const QTextCursor &cursor, Read read) -> std::optional<decltype(read(QTextCharFormat()))>
{
    const QList<QTextCharFormat> formats = richtext::selectionFormats(cursor);
    const auto first = read(formats.constFirst());
    const bool same = std::all_of(formats.begin(), formats.end(), [&](const QTextCharFormat &f) { return read(f) == first; });
    return same ? std::optional(first) : std::nullopt;
}

template <typename Read>
RichTextEdit::TriState flag(const QTextCursor &cursor, Read read)
{
    const auto shared = common(cursor, read);
    return !shared ? RichTextEdit::TriState::Mixed : *shared ? RichTextEdit::TriState::On : RichTextEdit::TriState::Off;
}

bool isBold(const QTextCharFormat &format)
{
    return format.fontWeight() >= QFont::DemiBold;
}

bool isItalic(const QTextCharFormat &format)
{
    return format.fontItalic();
}

bool isUnderlined(const QTextCharFormat &format)
{
    return format.fontUnderline();
}

} // namespace

RichTextEdit::RichTextEdit(QWidget *parent) : QTextEdit(parent) {}

QByteArray RichTextEdit::textRtf() const
{
    return richtext::writeRtf(*document());
}

void RichTextEdit::setTextRtf(QByteArrayView rtf)
{
    document()->clear();
    richtext::readRtf(rtf, *document());
    moveCursor(QTextCursor::Start);
}

QString RichTextEdit::text() const
{
    return richtext::plainText(*document());
}

void RichTextEdit::loadBytes(QByteArrayView bytes)
{
    if (bytes.startsWith("{\\rtf")) {
        setTextRtf(bytes);
        return;
    }
    QString plain = codepage::decodeText(bytes);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(plain);
}

bool RichTextEdit::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    loadBytes(file.readAll());
    return true;
}

bool RichTextEdit::hasContent() const
{
    return document()->characterCount() > document()->blockCount();
}

QString RichTextEdit::selFontName() const
{
    const QString fallback = document()->defaultFont().family();
    return common(textCursor(), [&](const QTextCharFormat &f) {
               const QStringList families = f.fontFamilies().toStringList();
               return families.isEmpty() ? fallback : families.constFirst();
           }).value_or(QString());
}

void RichTextEdit::setSelFontName(const QString &family)
{
    QTextCharFormat change;
    change.setFontFamilies({family});
    mergeCurrentCharFormat(change);
}

qreal RichTextEdit::selFontSize() const
{
    const qreal fallback = document()->defaultFont().pointSizeF();
    return common(textCursor(), [&](const QTextCharFormat &f) {
               return f.fontPointSize() > 0 ? f.fontPointSize() : fallback;
           }).value_or(0);
}

void RichTextEdit::setSelFontSize(qreal points)
{
    if (points <= 0)
        return;
    QTextCharFormat change;
    change.setFontPointSize(points);
    mergeCurrentCharFormat(change);
}

RichTextEdit::TriState RichTextEdit::selBold() const
{
    return flag(textCursor(), isBold);
}

void RichTextEdit::setSelBold(bool on)
{
    QTextCharFormat change;
    change.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(change);
}

RichTextEdit::TriState RichTextEdit::selItalic() const
{
    return flag(textCursor(), isItalic);
}

void RichTextEdit::setSelItalic(bool on)
{
    QTextCharFormat change;
    change.setFontItalic(on);
    mergeCurrentCharFormat(change);
}

RichTextEdit::TriState RichTextEdit::selUnderline() const
{
    return flag(textCursor(), isUnderlined);
}

void RichTextEdit::setSelUnderline(bool on)
{
    QTextCharFormat change;
    change.setFontUnderline(on);
    mergeCurrentCharFormat(change);
}

Qt::Alignment RichTextEdit::selAlignment() const
{
    return textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

void RichTextEdit::setSelAlignment(Qt::Alignment alignment)
{
    setAlignment(alignment);
}

QColor RichTextEdit::selColor() const
{
    const QRgb fallback = palette().color(QPalette::Text).rgb();
    const auto rgb = common(textCursor(), [&](const QTextCharFormat &f) {
        return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().rgb() : fallback;
    });
    return rgb ? QColor(*rgb) : QColor();
}

void RichTextEdit::setSelColor(const QColor &color)
{
    QTextCharFormat change;
    change.setForeground(color);
    mergeCurrentCharFormat(change);
}

void RichTextEdit::pastePicture(const QImage &image)
{
    if (image.isNull())
        return;
    const QTextImageFormat format = richtext::addPicture(*document(), richtext::compactPicture(image), image);
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    cursor.insertImage(format);
    setTextCursor(cursor);
}

void RichTextEdit::setWindowShortcuts(const QList<QKeySequence> &keys)
{
    m_windowShortcuts = keys;
}

void RichTextEdit::layoutForPrinter(int lineWidthTwips)
{
    document()->setUseDesignMetrics(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(qRound(lineWidthTwips * logicalDpiX() / kTwipsPerInch));
}

int RichTextEdit::renderRange(QPainter &painter, const QRectF &twips, int from) const
{
    return richtext::renderPageRange(*document(), painter, twips, from);
}

int RichTextEdit::textEnd() const
{
    return richtext::textEnd(*document());
}

// Qt may offer one key press to ShortcutOverride more than once; the key's
// release ends the press, so each press is reported once.
bool RichTextEdit::event(QEvent *event)
{
    if (event->type() == QEvent::KeyRelease)
        m_refusedKey = QKeyCombination();
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination key = static_cast<QKeyEvent *>(event)->keyCombination();
        const bool refused = std::any_of(m_windowShortcuts.begin(), m_windowShortcuts.end(),
                                         [&](const QKeySequence &s) { return s.count() == 1 && s[0] == key; });
        if (refused) {
            if (m_refusedKey != key)
                emit keyDown();
            m_refusedKey = key;
            event->ignore();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void RichTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (m_refusedKey != event->keyCombination())
        emit keyDown();
    QTextEdit::keyPressEvent(event);
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (source->hasImage())
        pastePicture(qvariant_cast<QImage>(source->imageData()));
    else
        QTextEdit::insertFromMimeData(source);
}
