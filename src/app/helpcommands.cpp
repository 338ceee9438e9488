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

// A diary folder made by a restore, an import or by hand may have no help
// page: the program's own copy, built in, then shows in its own window.
void help(const UrlOpener &openUrl, const DataRoot &root, QWidget *parent)
{
    const QString page = root.helpFile();
    if (!QFileInfo(page).isFile()) {
        showHelpWindow(ownHelpPage(), parent);
        return;
    }
    if (!openUrl(QUrl::fromLocalFile(page)))
        showHelpWindow(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()), parent);
}

QUrl ownHelpPage()
{
    return QUrl(QStringLiteral("qrc:/help/help.htm"));
}

} // namespace helpcommands
