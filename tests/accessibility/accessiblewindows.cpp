// Opens the main window, the print window and the picture window of a
// temporary diary, with every panel shown, and keeps them up until its
// standard input closes, so a screen reader's view of them can be walked.
// Names each window on a line "window <title>", then prints "ready" once all
// three are on the screen.
#include "formharness.h"

#include "editor/richtextedit.h"
#include "picture/frmpicture.h"
#include "print/frmprint.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QSocketNotifier>
#include <QTest>

#include <gtest/gtest.h>

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

bool shown(QWidget *window, const char *name)
{
    if (window && QTest::qWaitForWindowExposed(window))
        return true;
    std::cerr << "accessiblewindows: the " << name << " did not come up\n";
    return false;
}

// A box that came though none was expected fails the run: the walk would see it, not the windows.
bool noUnexpectedBox(const ScriptedDialogs &dialogs)
{
    if (!::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed())
        return true;
    std::cerr << "accessiblewindows: an unexpected box came up; the boxes shown: "
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
    if (!form.startedUp() || !noUnexpectedBox(harness.dialogs))
        return 1;
    form.show();
    if (!shown(&form, "main window"))
        return 1;

    // The open and search panels are hidden until asked for; their controls are used too.
    named<QAction>(form, "m5")->trigger();
    named<QAction>(form, "openPanel")->trigger();
    // An empty page is not printed: the print window needs something to show.
    named<RichTextEdit>(form, "rtxt2")->setPlainText(QStringLiteral("A walk through the windows"));
    named<QAction>(form, "m17")->trigger();
    if (!shown(form.findChild<Frmprint *>(), "print window"))
        return 1;

    const QString picture = harness.data.path() + QStringLiteral("/walk.png");
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(picture))
        return 1;
    harness.dialogs.answerOpenFile(picture);
    named<QAction>(form, "m16")->trigger();
    if (!shown(form.findChild<Frmpicture *>(), "picture window") || !noUnexpectedBox(harness.dialogs))
        return 1;

    // Closed input, the walk is over: the harness then removes the diary.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, qApp, [&input] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            // Not quit(): that closes the windows first, and the main window would ask to save the page.
            QCoreApplication::exit(0);
        }
    });
    for (const QWidget *window : std::initializer_list<const QWidget *>{&form, form.findChild<Frmprint *>(), form.findChild<Frmpicture *>()})
        std::cout << "window " << window->windowTitle().toStdString() << '\n';
    std::cout << "ready" << std::endl;
    QApplication::exec();
    return noUnexpectedBox(harness.dialogs) ? 0 : 1;
}
