#include "helpcommands.h"

#include "app/helpwindow.h"
#include "diary/dataroot.h"
#include "seams/dialogs.h"

#include <QFileInfo>

namespace helpcommands {

QUrl homePage()
{
    return QUrl(QStringLiteral(QUILLNEST_HOME_PAGE));
}

void about(Dialogs &dialogs)
{
    dialogs.message(QStringLiteral("Quillnest version 2\n\nA private diary for your desktop.\n"
                                   "Written by the Quillnest developers."),
                    QStringLiteral("About Quillnest version 2"), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void webPage(const UrlOpener &openUrl, Dialogs &dialogs)
{
    if (!openUrl(homePage())) {
        dialogs.message(QStringLiteral("No web browser could open the page %1.").arg(homePage().toString()), QStringLiteral("Web Page"),
                        Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
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
    dialogs.message(QStringLiteral("The help page %1 could not be opened.").arg(page), QStringLiteral("Help"),
                    Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}

} // namespace helpcommands
