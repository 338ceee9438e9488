#pragma once

#include "diary/notestore.h"
#include "diary/pagestore.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline const QDate kDay(2026, 12, 4);
inline const QString kPage = QStringLiteral("pages/2026-12-04.dat");
inline const QString kNote = QStringLiteral("dates/Dec-4.dat");

// A diary folder and an empty folder beside it.
class DiaryTest : public ::testing::Test
{
protected:
    void page(const QDate &day, const QByteArray &rtf) const { ASSERT_TRUE(pagestore::save(data.root(), day, rtf)); }

    TestDataRoot data;
    QTemporaryDir out;
};
