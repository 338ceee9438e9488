#include "helpcommands.h"

#include "diary/dataroot.h"
#include "seams/dialogs.h"

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

void webPage(const UrlOpener &openUrl)
{
    openUrl(homePage());
}

void help(const UrlOpener &openUrl, const DataRoot &root, Dialogs &dialogs)
{
    if (!openUrl(QUrl::fromLocalFile(root.helpFile()))) {
        dialogs.message(QStringLiteral("The help page %1 could not be opened.").arg(root.helpFile()), QStringLiteral("Help"),
                        Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    }
}

} // namespace helpcommands
