#include "ui/filefilter.h"

#include <gtest/gtest.h>

TEST(FileFilter, PipeFormBecomesQtNameFilters)
{
    EXPECT_EQ(qtNameFilters(QStringLiteral("All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*")),
              (QStringList{QStringLiteral("All Images (*.jpg, *.bmp, *.gif) (*.jpg *.bmp *.gif)"),
                           QStringLiteral("All Files (*.*) (*)")}));
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text| *.txt ;; *.rtf|Dangling")),
              QStringList{QStringLiteral("Text (*.txt *.rtf)")});
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}
