#include "helpcommands.h"

#include "app/helpwindow.h"
#include "diary/dataroot.h"
#include "seams/dialogs.h"
#include "seams/messages.h"

#include <QFileInfo>

namespace helpcommands {

QUrl homePage()
{
    return QUrl(QStringLiteral(QUILLNEST_HOME_PAGE));
}

void about(Dialogs &dialogs)
{
    messages::tell(dialogs, messages::about());
}

void webPage(const UrlOpener &openUrl, Dialogs &dialogs)
{
    if (!openUrl(homePage())) {
        messages::tell(dialogs, messages::webPageUnopened(homePage().toString()));
    }
}

void help(const UrlOpener &openUrl, const DataRoot &root, Dialogs &dialogs, QWidget *parent)
{
    const QString page = root.helpFile();
    if (openUrl(QUrl::fromLocalFile(page)))
        return;
    if (QFileInfo(page).isFile()) {
        showHelpWindow(page, parent);
        return;
    }
    messages::tell(dialogs, messages::helpUnopened(page));
}

} // namespace helpcommands
