#pragma once

#include <QString>
#include <QStringList>

class Vault;

// The pages whose stored file holds the scrambled term on one line, each
// once, in the order of pageNames. The files are scanned as they lie on disk.
// A term with a character that cannot be stored finds nothing; a file that
// cannot be read, or is larger than a page file can be, is passed over.
// With a vault, each file is opened in memory first and searched as its
// plain form would be.
QStringList searchPages(const QString &pagesDir, const QStringList &pageNames, QStringView term, const Vault *vault = nullptr);
