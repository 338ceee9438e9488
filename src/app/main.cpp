#include "app/appservices.h"
#include "app/artwork.h"
#include "app/form1.h"
#include "seams/clock.h"
#include "seams/program.h"
#include "session/diarysession.h"
#include "spelling/service.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDesktopServices>
#include <QDir>

#include <vector>

namespace {

// --help and --version answer before the window's application exists, so
// they need no display (a terminal over ssh, the build making the manual page).
void answerCommandLine(int argc, char *argv[])
{
    // The launcher starts the program by its full path; the help names the command.
    std::vector<char *> arguments(argv, argv + argc + 1);
    char command[] = "quillnest";
    arguments[0] = command;
    const QCoreApplication probe(argc, arguments.data());
    QCommandLineParser parser;
    // Qt's own options such as -reverse are single words, never bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("A private diary for your desktop, with a page for every day."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Anything else stays Qt's to read, as it always was.
    parser.parse(QCoreApplication::arguments());
    // Each shows its text and ends the process.
    if (parser.isSet(version))
        parser.showVersion();
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Quillnest"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLNEST_VERSION));
    answerCommandLine(argc, argv);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(artwork::applicationIcon());
    // Wayland matches the window to its launcher, and so its icon and name, by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillnest.Quillnest"));

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
    spelling::Service spelling(spelling::Service::defaultPersonalWordsFile());
    services.spelling = &spelling;
    services.settingsFile = spelling::Service::defaultSettingsFile();
    services.systemctl = reminder::runSystemctl;

    DiarySession session(dialogs, clock);
    Form1 form(services, session);
    if (!form.startedUp())
        return 0;
    form.show();
    return QApplication::exec();
}
