#pragma once

#include <QByteArray>
#include <QTextDocument>

#include <optional>

// While the diary is locked an open document's words wait in their sealed file.
namespace sealedwords {

// Dropped only when its words can be read back: a draft the disk refused keeps them in memory.
bool forgetIfSealed(QTextDocument &document, std::optional<QByteArray> sealed);
void recall(QTextDocument &document, std::optional<QByteArray> sealed);

} // namespace sealedwords
