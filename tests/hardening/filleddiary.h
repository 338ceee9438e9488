#pragma once

#include "diarysnapshot.h"
#include "formharness.h"

#include <gtest/gtest.h>

// A diary with three pages, two yearly notes and a password file, whose
// window starts on 4 December 2026, for tests that inject a fault.
class FilledDiary : public ::testing::Test
{
protected:
    void SetUp() override;
    // Stores no password, then opens the window.
    void start();

    static QByteArray page(const QString &text);
    void storePage(const char *day, const char *text);
    // As the user would: keys typed into the page, a click on the calendar.
    void type(const QString &text);
    void choose(QDate day);
    // The last box shown, expected to be `box`; a box built without a reason
    // matches whatever reason was shown below its text.
    void expectError(const messages::Box &box) const;

    Form1 &form() const { return *harness.form; }
    QString pageText() const;
    QString noteText() const;

    FormHarness harness;
};
