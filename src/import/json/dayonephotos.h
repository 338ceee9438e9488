#pragma once

#include "dayonefiles.h"

#include "import/entry.h"

#include <QJsonArray>
#include <QString>

#include <optional>

namespace diaryimport::dayone {

// Adds to the entry's pictures, under the address its text shows them by
// ("dayone-moment://<identifier>"), each photo of `photos` that the text
// shows. A photo the export lacks, or one no image reader here can show
// (HEIC), is left out and the entry kept. The fault, when a photo is
// described wrongly or its file is refused.
std::optional<QString> addPhotos(const Files &files, const QJsonArray &photos, Entry &entry);

} // namespace diaryimport::dayone
