#pragma once

#include <QByteArray>
#include <QString>

// What every fuzz target needs around the code under test: a headless Qt
// application and a scratch folder, so the readers run on real files.
namespace fuzzsupport {

void startQt(int *argc, char ***argv);

// A folder that lives as long as the fuzzer, with pages and dates folders.
QString scratchFolder();

// Replaces the file at scratchFolder()/relative with bytes; its path.
QString writeScratch(const QString &relative, const QByteArray &bytes);

QByteArray bytesOf(const unsigned char *data, size_t size);

} // namespace fuzzsupport
