#include "app/helpcommands.h"
#include "diary/dataroot.h"

#include "scripteddialogs.h"

#include <gtest/gtest.h>

TEST(HelpCommands, OpenPagesAndReportWhatCannotBeOpened)
{
    ScriptedDialogs dialogs;
    QList<QUrl> opened;
    bool succeeds = true;
    const helpcommands::UrlOpener openUrl = [&](const QUrl &url) {
        opened.append(url);
        return succeeds;
    };
    const DataRoot root(QStringLiteral("/home/anna/My Diary"));
    helpcommands::help(openUrl, root, dialogs);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), QStringLiteral("/home/anna/My Diary/help.htm"));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    succeeds = false;
    dialogs.answerMessage(Dialogs::Button::Ok);
    dialogs.answerMessage(Dialogs::Button::Ok);
    helpcommands::help(openUrl, root, dialogs);
    helpcommands::webPage(openUrl, dialogs);
    EXPECT_EQ(opened.last(), helpcommands::homePage());
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("/home/anna/My Diary/help.htm")));
    EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Web Page"));
}
