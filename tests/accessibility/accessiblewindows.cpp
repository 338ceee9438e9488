// Opens the main window, the print, picture and Year at a Glance windows of a
// temporary diary, with every panel shown, and keeps them up until its
// standard input closes, so a screen reader's view of them can be walked.
// Names each window on a line "window <title>", then prints "ready" once all
// four are on the screen.
#include "formharness.h"

#include "glance/glancewindow.h"
#include "picture/frmpicture.h"

#include <QAction>
#include <QSocketNotifier>

#include <algorithm>
#include <iostream>
#include <unistd.h>

namespace {

// A PDF printer, so the print window lays out its page without a printer installed.
std::unique_ptr<QPrinter> pdfPrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
}

// Every window is on the screen, and no box came though none was expected:
// the walk would see the box, not the windows.
bool allUp(const std::vector<QWidget *> &windows, const ScriptedDialogs &dialogs)
{
    const auto up = [](QWidget *window) { return window && QTest::qWaitForWindowExposed(window); };
    if (std::ranges::all_of(windows, up) && !::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed())
        return true;
    std::cerr << "accessiblewindows: a window did not come up, or a box did; the boxes shown: "
              << dialogs.texts().join(QStringLiteral(" | ")).toStdString() << '\n';
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    FormHarness harness;
    harness.withoutPassword();
    AppServices services = harness.services();
    services.printer = pdfPrinter;
    harness.start(services);
    Form1 &form = *harness.form;
    form.show();
    // The open and search panels are hidden until asked for; their controls are used too.
    named<QAction>(form, "m5")->trigger();
    named<QAction>(form, "openPanel")->trigger();
    // An empty page is not printed: the print window needs something to show.
    named<RichTextEdit>(form, "rtxt2")->setPlainText(QStringLiteral("A walk through the windows"));
    harness.dialogs.answerOpenFile(QStringLiteral(WALK_PICTURE));
    for (const char *command : {"m17", "m16", "m32"})
        named<QAction>(form, command)->trigger();
    const std::vector<QWidget *> windows{&form, form.findChild<Frmprint *>(), form.findChild<Frmpicture *>(), form.findChild<GlanceWindow *>()};
    if (!form.startedUp() || !allUp(windows, harness.dialogs))
        return 1;

    // Closed input, the walk is over: the harness then removes the diary.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    // The walk writes nothing, so input is ready only once it is closed. Not
    // quit(): that closes the windows first, and the main window would ask to save the page.
    QObject::connect(&input, &QSocketNotifier::activated, qApp, [] { QCoreApplication::exit(0); });
    for (const QWidget *window : windows)
        std::cout << "window " << window->windowTitle().toStdString() << '\n';
    std::cout << "ready" << std::endl;
    QApplication::exec();
    return allUp(windows, harness.dialogs) ? 0 : 1;
}
