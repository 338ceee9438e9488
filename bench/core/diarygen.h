#pragma once

#include "diary/dataroot.h"

#include <QByteArray>
#include <QDate>

// Makes realistic diaries for benchmarks: pages of a few formatted
// paragraphs, now and then a picture, and yearly notes.
namespace diarygen {

struct Options
{
    int days = 365;
    QDate first = QDate(1990, 1, 1);
    int pictureEvery = 20;  // one page in this many carries a picture
    int noteEvery = 7;      // one day in this many gets a yearly note
    unsigned seed = 1;
};

QByteArray pageRtf(unsigned seed, bool withPicture);
// Fills root's pages and dates folders; returns the number of pages written.
int generate(const DataRoot &root, const Options &options);

} // namespace diarygen
