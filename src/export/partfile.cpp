#include "partfile.h"

#include "diary/privatefiles.h"
#include "diary/safewrite.h"

#include <QFileInfo>

namespace {

// A hidden name no other file has, so a leftover of a killed export is known for one.
QString partTemplate(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".quillnest-export-XXXXXX");
}

} // namespace

PartFile::PartFile(const QString &target) : m_target(target), m_file(partTemplate(target)) {}

Outcome PartFile::open()
{
    const QFileInfo target(m_target);
    if (!QFileInfo(target.absolutePath()).isDir())
        return Outcome::failure(QStringLiteral("%1: the folder does not exist").arg(target.absolutePath()));
    if (target.isDir())
        return Outcome::failure(QStringLiteral("%1 is a folder").arg(m_target));
    return m_file.open() && privatefiles::makePrivate(m_file) ? Outcome::success() : failed();
}

Outcome PartFile::append(QByteArrayView bytes)
{
    return m_file.write(bytes.data(), bytes.size()) == bytes.size() ? Outcome::success() : failed();
}

Outcome PartFile::flush()
{
    return m_file.flush() && m_file.error() == QFileDevice::NoError ? Outcome::success() : failed();
}

Outcome PartFile::replaceTarget()
{
    if (const Outcome flushed = flush(); !flushed)
        return flushed;
    const Outcome replaced = replaceDurably(m_file.fileName(), m_target);
    if (replaced)
        m_file.setAutoRemove(false);
    return replaced;
}

Outcome PartFile::failed() const
{
    return Outcome::failure(QStringLiteral("%1: %2").arg(m_target, m_file.errorString()));
}
