#include "app/helpwindow.h"

#include "ui/screenplacement.h"

#include <QImage>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>

namespace {

const char kName[] = "helpWindow";

// Each picture at its own size where that fits, else scaled down to the
// text's width, so the window never needs a sideways scroll to show one.
class HelpBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QTextBrowser::resizeEvent(event);
        fitPictures();
    }

private:
    void fitPictures()
    {
        QTextDocument &page = *document();
        // Found first and changed after: a changed format splits the fragments being walked.
        QList<std::pair<QTextFragment, qreal>> pictures;
        for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().isImageFormat())
                    pictures.append({it.fragment(), roomOf(block)});
            }
        }
        for (const auto &[fragment, room] : pictures) {
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QSizeF natural = page.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>().size();
            if (natural.isEmpty() || room <= 0)
                continue;
            const qreal width = std::min(natural.width(), room);
            picture.setWidth(width);
            picture.setHeight(natural.height() * width / natural.width());
            QTextCursor cursor(&page);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }

    // The width a line of the block has: the page's, less the page's and the paragraph's margins.
    qreal roomOf(const QTextBlock &block) const
    {
        const QTextFrameFormat frame = document()->rootFrame()->frameFormat();
        const QTextBlockFormat paragraph = block.blockFormat();
        return viewport()->width() - frame.leftMargin() - frame.rightMargin() - 2 * (frame.padding() + frame.border())
            - paragraph.leftMargin() - paragraph.rightMargin() - std::max<qreal>(paragraph.textIndent(), 0);
    }
};

QTextBrowser *makeHelpWindow(const QUrl &page, QWidget *parent)
{
    auto *browser = new HelpBrowser(parent);
    browser->setObjectName(QLatin1String(kName));
    browser->setWindowFlag(Qt::Window);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setOpenExternalLinks(true);
    // From the page's own address its pictures are found beside it.
    browser->setSource(page);
    const QString title = browser->documentTitle();
    browser->setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title);
    browser->resize(760, 600);
    return browser;
}

} // namespace

QTextBrowser *showHelpWindow(const QUrl &page, QWidget *parent)
{
    auto *browser = parent ? parent->findChild<QTextBrowser *>(QLatin1String(kName), Qt::FindDirectChildrenOnly) : nullptr;
    if (!browser)
        browser = makeHelpWindow(page, parent);
    showOnScreen(*browser, parent && parent->isVisible() ? parent : nullptr);
    browser->raise();
    browser->activateWindow();
    return browser;
}
