#include "sync/conflictnames.h"

#include <gtest/gtest.h>

using conflictnames::Tool;

namespace {

struct Row
{
    const char *label;
    const char *name;
    const char *original; // nullptr: not a conflict copy
    Tool tool = Tool::Syncthing;
    const char *source = "";
    const char *when = ""; // "yyyy-MM-dd HH:mm:ss", or the day alone
};

const Row kRows[] = {
    {"syncthing page", "2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat", "2026-12-04.dat", Tool::Syncthing,
     "ABCDEFG", "2026-12-04 18:30:12"},
    {"syncthing note", "Dec-4.sync-conflict-20261205-070000-Q2W3E4R.dat", "Dec-4.dat", Tool::Syncthing, "Q2W3E4R",
     "2026-12-05 07:00:00"},
    {"syncthing password file", "pw.sync-conflict-20261204-183012-ABCDEFG.dat", "pw.dat", Tool::Syncthing, "ABCDEFG",
     "2026-12-04 18:30:12"},
    {"syncthing without device", "2026-12-04.sync-conflict-20261204-183012.dat", "2026-12-04.dat", Tool::Syncthing, "",
     "2026-12-04 18:30:12"},
    {"nextcloud", "2026-12-04 (conflicted copy 2026-12-04 183012).dat", "2026-12-04.dat", Tool::Nextcloud, "",
     "2026-12-04 18:30:12"},
    {"nextcloud with user", "2026-12-04 (conflicted copy Zoë Müller 2026-12-04 183012).dat", "2026-12-04.dat",
     Tool::Nextcloud, "Zoë Müller", "2026-12-04 18:30:12"},
    {"owncloud", "Dec-4_conflict-20261204-183012.dat", "Dec-4.dat", Tool::Nextcloud, "", "2026-12-04 18:30:12"},
    {"dropbox", "2026-12-04 (Anna's conflicted copy 2026-12-04).dat", "2026-12-04.dat", Tool::Dropbox, "Anna",
     "2026-12-04"},
    {"dropbox typographic apostrophe and a number", "2026-12-04 (José’s conflicted copy 2026-12-04 (2)).dat",
     "2026-12-04.dat", Tool::Dropbox, "José", "2026-12-04"},
    {"dropbox non-latin user", "Dec-4 (小林's conflicted copy 2026-12-04).dat", "Dec-4.dat", Tool::Dropbox, "小林",
     "2026-12-04"},
    {"a page", "2026-12-04.dat", nullptr},
    {"no such day", "2026-12-04.sync-conflict-20261340-183012-ABCDEFG.dat", nullptr},
    {"no such time", "2026-12-04 (conflicted copy 2026-12-04 253012).dat", nullptr},
    {"lower-case device id", "2026-12-04.sync-conflict-20261204-183012-abcdefg.dat", nullptr},
    {"the user's own name", "2026-12-04 (copy).dat", nullptr},
};

} // namespace

TEST(ConflictNames, TheThreeToolsCopiesNameTheirFileSourceAndTimeAndNothingElseIsACopy)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.label);
        const auto copy = conflictnames::recognise(QString::fromUtf8(row.name));
        ASSERT_EQ(copy.has_value(), row.original != nullptr);
        if (!copy)
            continue;
        EXPECT_EQ(copy->original, QString::fromUtf8(row.original));
        EXPECT_EQ(copy->tool, row.tool);
        EXPECT_EQ(copy->source, QString::fromUtf8(row.source));
        const QString when = copy->date.toString(Qt::ISODate) + (copy->time ? copy->time->toString(u" HH:mm:ss") : QString());
        EXPECT_EQ(when, QString::fromUtf8(row.when));
    }
}
