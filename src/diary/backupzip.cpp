#include "backupzip.h"

#include <QFile>

namespace backup::zip {

namespace {

struct FileClose
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

} // namespace

Archive open(const QString &path, int flags, QString &why)
{
    int code = 0;
    Archive archive(zip_open(QFile::encodeName(path).constData(), flags, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        why = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
    }
    return archive;
}

bool readEntry(zip_t *archive, zip_uint64_t index, const std::function<bool(QByteArrayView)> &chunk)
{
    const std::unique_ptr<zip_file_t, FileClose> entry(zip_fopen_index(archive, index, 0));
    if (!entry)
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!chunk(QByteArrayView(buffer, got)))
            return false;
    }
}

QByteArray entryName(zip_t *archive, zip_uint64_t index)
{
    const char *name = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    return name ? QByteArray(name) : QByteArray();
}

} // namespace backup::zip
