#pragma once

#include "dayonefiles.h"

#include "import/entry.h"

#include <QJsonArray>
#include <QString>

#include <memory>
#include <optional>

namespace diaryimport::dayone {

// Adds to the entry's picture files, under the address its text shows them
// by ("dayone-moment://<identifier>"), each photo of `photos` that the text
// shows, read from `files` only when the entry's page is built. A photo the
// export lacks, one no image reader here can show (HEIC) or one too large is
// left out and the entry kept. The fault, when a photo is described wrongly.
std::optional<QString> addPhotos(const std::shared_ptr<const Files> &files, const QJsonArray &photos, Entry &entry);

} // namespace diaryimport::dayone
