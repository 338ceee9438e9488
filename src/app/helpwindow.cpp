#include "app/helpwindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace {

const char kName[] = "helpWindow";

QTextBrowser *makeHelpWindow(const QString &page, QWidget *parent)
{
    auto *browser = new QTextBrowser(parent);
    browser->setObjectName(QLatin1String(kName));
    browser->setWindowFlag(Qt::Window);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setOpenExternalLinks(true);
    // From the page's own address its pictures are found beside it.
    browser->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    const QString title = browser->documentTitle();
    browser->setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title);
    browser->resize(760, 600);
    return browser;
}

} // namespace

QTextBrowser *showHelpWindow(const QString &page, QWidget *parent)
{
    auto *browser = parent ? parent->findChild<QTextBrowser *>(QLatin1String(kName), Qt::FindDirectChildrenOnly) : nullptr;
    if (!browser)
        browser = makeHelpWindow(page, parent);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}
