#include "formharness.h"
#include "specialfiles.h"

// Today's yearly note, read before the window shows, used to stop it for
// good (a FIFO) or fill memory (a device).
TEST(SpecialFiles, AYearlyNoteThatIsAFifoOrADeviceLeavesTheNoteEmpty)
{
    for (const SpecialFile kind : kSpecialFiles) {
        SCOPED_TRACE(nameOf(kind));
        FormHarness harness;
        makeSpecialFile(harness.data.root().notePath(QStringLiteral("Dec-4")), kind);
        harness.startWithoutPassword();
        EXPECT_TRUE(named<RichTextEdit>(*harness.form, "rtxt")->text().isEmpty());
        EXPECT_EQ(harness.dialogs.shown().size(), 1) << "the sign-in notice alone";
    }
}
