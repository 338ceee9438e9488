#include "app/appservices.h"
#include "app/artwork.h"
#include "app/form1.h"
#include "seams/clock.h"
#include "seams/program.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillnest"));
    QApplication::setWindowIcon(artwork::applicationIcon());

    QtDialogs dialogs;
    const SystemClock clock;
    SystemProgram program;
    AppServices services;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.program = &program;
    services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    services.startDirectory = QDir::currentPath();
    services.developmentFolder = QStringLiteral(QUILLNEST_DEVELOPMENT_FOLDER);
    services.developmentDataFolder = QStringLiteral(QUILLNEST_DEVELOPMENT_DATA_FOLDER);

    Form1 form(services);
    if (!form.startedUp())
        return 0;
    form.show();
    return QApplication::exec();
}
