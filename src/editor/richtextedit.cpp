#include "richtextedit.h"

#include "diary/boundedfile.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "richtext/pagerange.h"
#include "richtext/picture.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "richtext/twips.h"
#include "selectionformat.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace {

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

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
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
    (void)richtext::readRtf(rtf, *document()); // a page too large to show leaves it empty
    moveCursor(QTextCursor::Start);
}

// Qt keeps the caret's format across a clear, so a page emptied after a bold
// one would be typed in bold.
void RichTextEdit::clear()
{
    QTextEdit::clear();
    startEmpty();
}

// The document's default font follows the widget's, which the window scales
// with its size; an explicit font keeps every new page alike.
void RichTextEdit::setNewPageFont(const QString &family, qreal points)
{
    m_newPageFormat = QTextCharFormat();
    m_newPageFormat.setFontFamilies({family});
    m_newPageFormat.setFontPointSize(points);
}

void RichTextEdit::startEmpty()
{
    setCurrentCharFormat(m_newPageFormat);
}

QString RichTextEdit::text() const
{
    return richtext::plainText(*document());
}

bool RichTextEdit::loadBytes(QByteArrayView bytes)
{
    const bool loaded = richtext::loadBytes(bytes, *document());
    showReplacedDocument();
    return loaded;
}

void RichTextEdit::showReplacedDocument()
{
    moveCursor(QTextCursor::Start);
    if (!hasContent())
        startEmpty();
}

RichTextEdit::Place RichTextEdit::place() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.anchor(), cursor.position(), horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void RichTextEdit::returnTo(const Place &place)
{
    QTextCursor cursor(document());
    const int last = document()->characterCount() - 1;
    cursor.setPosition(std::clamp(place.anchor, 0, last));
    cursor.setPosition(std::clamp(place.position, 0, last), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    // Laid out now, so the scroll bars reach as far as they did.
    document()->documentLayout()->documentSize();
    horizontalScrollBar()->setValue(place.horizontal);
    verticalScrollBar()->setValue(place.vertical);
}

bool RichTextEdit::hasContent() const
{
    return richtext::hasContent(*document());
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
    mergeSelFormat(change);
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
    mergeSelFormat(change);
}

RichTextEdit::TriState RichTextEdit::selBold() const
{
    return flag(textCursor(), isBold);
}

void RichTextEdit::setSelBold(bool on)
{
    QTextCharFormat change;
    change.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelFormat(change);
}

RichTextEdit::TriState RichTextEdit::selItalic() const
{
    return flag(textCursor(), isItalic);
}

void RichTextEdit::setSelItalic(bool on)
{
    QTextCharFormat change;
    change.setFontItalic(on);
    mergeSelFormat(change);
}

RichTextEdit::TriState RichTextEdit::selUnderline() const
{
    return flag(textCursor(), isUnderlined);
}

void RichTextEdit::setSelUnderline(bool on)
{
    QTextCharFormat change;
    change.setFontUnderline(on);
    mergeSelFormat(change);
}

Qt::Alignment RichTextEdit::selAlignment() const
{
    return textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

void RichTextEdit::setSelAlignment(Qt::Alignment alignment)
{
    reformat([&] { setAlignment(alignment); });
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
    mergeSelFormat(change);
}

void RichTextEdit::mergeSelFormat(const QTextCharFormat &change)
{
    reformat([&] { mergeCurrentCharFormat(change); });
}

// With nothing selected a character format only changes what is typed next,
// which the document does not hold; a paragraph's alignment it does.
void RichTextEdit::reformat(const std::function<void()> &change)
{
    bool changed = false;
    const QMetaObject::Connection watch = connect(document(), &QTextDocument::contentsChange, this, [&changed] { changed = true; });
    change();
    disconnect(watch);
    if (changed)
        emit formatted();
}

void RichTextEdit::pastePicture(const QImage &image)
{
    if (image.isNull())
        return;
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    // The picture takes the format of the text before it, as what is typed after it does.
    QTextCharFormat format = cursor.charFormat();
    format.merge(richtext::addPicture(*document(), richtext::compactPicture(image), image));
    cursor.insertImage(format.toImageFormat());
    setTextCursor(cursor);
}

void RichTextEdit::layoutForPrinter(int lineWidthTwips)
{
    document()->setUseDesignMetrics(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(qRound(lineWidthTwips * logicalDpiX() / qreal(kTwipsPerInch)));
}

int RichTextEdit::renderRange(QPainter &painter, const QRectF &twips, int from) const
{
    return richtext::renderPageRange(*document(), painter, twips, from);
}

int RichTextEdit::textEnd() const
{
    return richtext::textEnd(*document());
}

void RichTextEdit::keyPressEvent(QKeyEvent *event)
{
    // Tab types a tab, so Ctrl+Tab and Ctrl+Shift+Tab leave, as in other
    // editors; leaving changes nothing, so it is no typing either.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && event->modifiers().testFlag(Qt::ControlModifier)) {
        // QTextEdit's own override refuses while Tab types, hence the base's.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    if (!isModifierKey(event->key()))
        emit keyDown();
    QTextEdit::keyPressEvent(event);
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

namespace {

// A property of the copied data in this process alone; nothing another program reads.
constexpr const char *kCopiedHere = "quillnestCopied";

} // namespace

QMimeData *RichTextEdit::createMimeDataFromSelection() const
{
    QMimeData *data = QTextEdit::createMimeDataFromSelection();
    if (data)
        data->setProperty(kCopiedHere, true);
    return data;
}

bool RichTextEdit::holdsCopiedText(const QClipboard &clipboard)
{
    const QMimeData *data = clipboard.mimeData();
    return data && data->property(kCopiedHere).toBool();
}

void RichTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (source->hasImage())
        pastePicture(qvariant_cast<QImage>(source->imageData()));
    else
        QTextEdit::insertFromMimeData(source);
}
