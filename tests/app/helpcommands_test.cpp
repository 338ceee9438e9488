#include "formharness.h"

#include "app/helpcommands.h"

#include <QTextBrowser>

// Without a browser the help still shows, pictures and all, in the program's
// own window, as the program's own page does where the folder has none; only
// a web page nothing opens is reported.
TEST(HelpCommands, OpenPagesOrShowTheHelpInAWindowOfItsOwn)
{
    testApplication();
    ScriptedDialogs dialogs;
    QList<QUrl> opened;
    bool succeeds = false;
    const helpcommands::UrlOpener openUrl = [&](const QUrl &url) {
        opened.append(url);
        return succeeds;
    };
    const TestDataRoot data;
    QWidget parent;
    const auto help = [&] { helpcommands::help(openUrl, data.root(), &parent); };
    QImage(8, 8, QImage::Format_RGB32).save(data.path() + QStringLiteral("/shot.png"));
    data.writeFile(QStringLiteral("help.htm"), "<html><head><title>Quillnest Help</title></head>"
                                               "<body><p>Pick a day.</p><img src=\"shot.png\"></body></html>");
    help();
    help();
    const QList<QTextBrowser *> windows = parent.findChildren<QTextBrowser *>();
    ASSERT_EQ(windows.size(), 1);
    const QTextBrowser &window = *windows[0];
    EXPECT_EQ(std::tuple(window.isWindow(), window.isVisible(), window.windowTitle(), window.toPlainText().contains(QStringLiteral("Pick a day.")),
                         window.document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("shot.png"))).isNull()),
              std::tuple(true, true, QStringLiteral("Quillnest Help"), true, false));
    succeeds = true;
    help();
    helpcommands::webPage(openUrl, dialogs);
    EXPECT_EQ(opened.mid(2), (QList<QUrl>{QUrl::fromLocalFile(data.root().helpFile()), helpcommands::homePage()}));
    succeeds = false;

    dialogs.answerMessage(Dialogs::Button::Ok);
    helpcommands::webPage(openUrl, dialogs);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(helpcommands::homePage().toString()));
}
