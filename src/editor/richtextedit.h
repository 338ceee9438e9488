#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextEdit>

#include <functional>

class QClipboard;
class QImage;
class QPainter;
class QRectF;

// The rich-text editor every window uses: whole-content RTF in and out, the
// selection's attributes, pictures, and the keys it leaves to its window.
class RichTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    enum class TriState { Off, On, Mixed };
    // Where the caret, the selection and the scroll stand, to come back to.
    struct Place
    {
        int anchor = 0;
        int position = 0;
        int horizontal = 0;
        int vertical = 0;
    };

    explicit RichTextEdit(QWidget *parent = nullptr);

    QByteArray textRtf() const;
    void setTextRtf(QByteArrayView rtf);
    QString text() const;
    // Empties the editor; what is typed next takes the new-page font.
    void clear();
    // The font an emptied page is typed in. Without one it types in the
    // document's default font, which follows the widget's own font.
    void setNewPageFont(const QString &family, qreal points);

    // RTF when the bytes start with "{\rtf", otherwise plain text in
    // Windows-1252, or in the Unicode form its byte-order mark names.
    // False, leaving the editor empty, for a page too large to show.
    [[nodiscard]] bool loadBytes(QByteArrayView bytes);
    // After its document was replaced elsewhere: the caret goes to the start,
    // and an emptied page types in the new-page font.
    void showReplacedDocument();
    Place place() const;
    // As near the place as the document allows.
    void returnTo(const Place &place);

    // Room above the text for a bar the window shows over the editor.
    void reserveTop(int height) { setViewportMargins(0, height, 0, 0); }

    // Characters or a picture: what a save counts as content.
    bool hasContent() const;

    // The selection's attributes, or the insertion point's when nothing is
    // selected. A selection that mixes values reads as an empty name, size 0,
    // Mixed or an invalid colour; the alignment is the first paragraph's.
    QString selFontName() const;
    void setSelFontName(const QString &family);
    qreal selFontSize() const;
    void setSelFontSize(qreal points);
    TriState selBold() const;
    void setSelBold(bool on);
    TriState selItalic() const;
    void setSelItalic(bool on);
    TriState selUnderline() const;
    void setSelUnderline(bool on);
    Qt::Alignment selAlignment() const;
    void setSelAlignment(Qt::Alignment alignment);
    QColor selColor() const;
    void setSelColor(const QColor &color);

    // At the caret, replacing the selection, stored compactly with the page.
    void pastePicture(const QImage &image);

    // Wraps the lines where a printer would at this line width (twips),
    // whatever the editor's own width; design metrics make screen and
    // printer measure text alike.
    void layoutForPrinter(int lineWidthTwips);
    // Draws what fits of the text from position `from` into `twips`, a
    // rectangle on the painter's device, and returns the first position that
    // did not fit; textEnd() once everything did.
    int renderRange(QPainter &painter, const QRectF &twips, int from) const;
    int textEnd() const;

    // Whether the clipboard holds what an editor of this program copied:
    // while the program owns it, it is the diary's text in its memory.
    static bool holdsCopiedText(const QClipboard &clipboard);

signals:
    // Every key that goes down while the editor has the focus, but a
    // modifier alone: Ctrl on its way to Ctrl+N neither edits nor moves.
    void keyDown();
    // A setSel... command changed the document's text formats, not only
    // the format of what is typed next.
    void formatted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void reformat(const std::function<void()> &change);
    void mergeSelFormat(const QTextCharFormat &change);
    void startEmpty();

    QTextCharFormat m_newPageFormat;
};
