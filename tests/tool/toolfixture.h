#pragma once

#include "diary/notestore.h"
#include "diary/pagestore.h"

#include "testdataroot.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct ToolRun
{
    int code = -1;
    QString out;
    QString err;
};

// One command line of a scripted run, and what it gives.
struct Step
{
    const char *line;
    int code = 0;
    const char *out = nullptr;      // the whole of stdout
    const char *err = nullptr;      // the whole of stderr
    const char *holds = nullptr;    // a part of stderr
    const char *password = nullptr;
    const char *file = nullptr;     // a file the command writes under {out}, whose whole text is `out`
    const char *shows = nullptr;    // a part of stdout, or of that file
};

// A diary and an empty folder beside it. The tool runs as on a terminal of a machine without any display,
// and without a runtime folder as from cron or ssh: stderr still holds the tool's own lines alone.
class ToolTest : public ::testing::Test
{
protected:
    // {root} stands for the diary, {out} for the empty folder, {name} for the diary's folder as seen from where the tool runs,
    // {samples} for the other diaries' sample files and {in} for the files the tests import.
    QString filled(const char *text) const
    {
        return QString::fromUtf8(text)
            .replace(QStringLiteral("{root}"), data.path())
            .replace(QStringLiteral("{out}"), out.path())
            .replace(QStringLiteral("{name}"), QFileInfo(data.path()).fileName())
            .replace(QStringLiteral("{samples}"), QStringLiteral(IMPORT_SAMPLES))
            .replace(QStringLiteral("{in}"), QStringLiteral(TOOL_DATA "/in"));
    }
    QStringList words(const char *line) const { return filled(line).split(u' ', Qt::SkipEmptyParts); }

    // A password, when given, goes in through the descriptor the tool reads it from.
    ToolRun run(QStringList arguments, const QByteArray &password = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        if (!password.isNull())
            arguments << QStringLiteral("--password-fd") << QStringLiteral("0");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QFileInfo(data.path()).absolutePath());
        process.start(QStringLiteral(QUILLNEST_TOOL), arguments);
        process.write(password.isNull() ? QByteArray() : password + '\n');
        process.closeWriteChannel();
        const bool finished = process.waitForFinished(120000);
        return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
    }
    ToolRun run(const char *line, const QByteArray &password = {}) const { return run(words(line), password); }

    // Each step run in turn on the diary as it stands.
    void play(std::initializer_list<Step> steps) const
    {
        for (const Step &step : steps) {
            const ToolRun ran = run(step.line, step.password);
            const QString shown = step.file ? QString::fromUtf8(written(QString::fromLatin1(step.file))) : ran.out;
            EXPECT_EQ(ran.code, step.code) << step.line << "\n" << ran.err.toStdString();
            EXPECT_EQ(shown, step.out ? filled(step.out) : shown) << step.line;
            EXPECT_TRUE(!step.shows || shown.contains(QString::fromUtf8(step.shows))) << step.line << "\n" << shown.toStdString();
            EXPECT_EQ(ran.err, step.err ? filled(step.err) : ran.err) << step.line;
            EXPECT_TRUE(!step.holds || ran.err.contains(filled(step.holds))) << step.line << "\n" << ran.err.toStdString();
        }
    }

    void page(const QDate &day, const QByteArray &rtf) const { ASSERT_TRUE(pagestore::save(data.root(), day, rtf)); }
    QByteArray pageOf(const QDate &day) const { return pagestore::load(data.root(), day).value_or(QByteArray()); }
    QByteArray written(const QString &relative) const { return readBytes(out.filePath(relative)); }

    TestDataRoot data;
    QTemporaryDir out;
};
