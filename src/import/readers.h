#pragma once

#include "entry.h"

#include <QString>

#include <optional>

namespace diaryimport {

enum class Source { Jrnl, DayOne, MiniDiary, RedNotebook, Markdown };

// The source named as the tool's --from takes it: jrnl, dayone, minidiary,
// rednotebook, markdown.
std::optional<Source> sourceNamed(const QString &name);

// jrnl's JSON export (jrnl --export json).
Read readJrnl(const QString &path);
// Day One's JSON export: the zip it makes, or that zip unpacked into a
// folder; its photos come with the entries that show them.
Read readDayOne(const QString &path);
// Mini Diary's JSON export.
Read readMiniDiary(const QString &path);
// RedNotebook's data: a folder of month files YYYY-MM.txt, or one of them.
Read readRedNotebook(const QString &path);
// A folder of Markdown files named by their day (yyyy-mm-dd.md).
Read readMarkdown(const QString &path);

Read readDiary(Source source, const QString &path);

// Why the file `name`, larger than `largest` bytes, is refused.
QString tooLarge(const QString &name, qint64 largest);

} // namespace diaryimport
