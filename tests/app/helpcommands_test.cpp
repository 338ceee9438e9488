#include "app/helpcommands.h"
#include "diary/dataroot.h"

#include "scripteddialogs.h"

#include <gtest/gtest.h>

TEST(HelpCommands, OpenPagesAndReportOnlyAHelpPageThatCannotBeOpened)
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
    helpcommands::help(openUrl, root, dialogs);
    helpcommands::webPage(openUrl);
    EXPECT_EQ(opened.last(), helpcommands::homePage());
    EXPECT_EQ(helpcommands::homePage().scheme().left(4), QStringLiteral("http"));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("/home/anna/My Diary/help.htm")));
}
