#include "draftkeeper.h"

#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/rtfwriter.h"

#include <QFile>

DraftKeeper::DraftKeeper(std::shared_ptr<DraftWriter> writer, drafts::Kind kind, Snapshot snapshot, std::chrono::milliseconds delay,
                         QObject *parent)
    : QObject(parent), m_writer(std::move(writer)), m_kind(kind), m_snapshot(std::move(snapshot))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, &DraftKeeper::writeNow);
}

void DraftKeeper::touched()
{
    if (!m_timer.isActive() && !m_root.path().isEmpty())
        m_timer.start();
}

void DraftKeeper::settled()
{
    m_timer.stop();
    if (m_writtenKey.isEmpty())
        return;
    m_writer->post([root = m_root, kind = m_kind, key = m_writtenKey] { drafts::remove(root, kind, key); });
    m_writtenKey.clear();
}

void DraftKeeper::flush()
{
    if (m_timer.isActive())
        writeNow();
}

void DraftKeeper::setAside()
{
    flush();
    if (m_writtenKey.isEmpty())
        return;
    const drafts::Draft draft{m_kind, m_writtenKey, drafts::path(m_root, m_kind, m_writtenKey)};
    m_writer->post([root = m_root, draft] { drafts::setAside(root, draft); });
    m_writtenKey.clear();
}

void DraftKeeper::takeOver(const drafts::Draft &found)
{
    writeNow();
    if (found.path != drafts::path(m_root, m_kind, m_writtenKey))
        m_writer->post([path = found.path] { QFile::remove(path); });
}

// A copy costs a fraction of writing the RTF, which for a page with a large
// photograph would take longer than a frame. Pictures are shared, not copied.
DraftKeeper::Content DraftKeeper::pageContent(const QString &key, const QTextDocument &document)
{
    std::shared_ptr<QTextDocument> copy(document.clone());
    // Bound to no thread, the copy may be read and deleted on the writer's.
    copy->moveToThread(nullptr);
    return {key, [copy] { return richtext::writeRtf(*copy); }};
}

// The document is read here, on the window's thread; only the bytes travel.
void DraftKeeper::writeNow()
{
    m_timer.stop();
    if (m_guard && !m_guard())
        return;
    Content content = m_snapshot();
    // The document now belongs to another day: what was drafted for the old one is kept.
    if (!m_writtenKey.isEmpty() && m_writtenKey != content.key)
        setAside();
    m_writtenKey = content.key;
    m_writer->post([root = m_root, kind = m_kind, content = std::move(content)] { drafts::write(root, kind, content.key, content.bytes()); });
}

std::optional<QByteArray> DraftKeeper::readBack() const
{
    if (m_writtenKey.isEmpty())
        return std::nullopt;
    m_writer->waitForDone();
    const drafts::Draft draft{m_kind, m_writtenKey, drafts::path(m_root, m_kind, m_writtenKey)};
    const QString storedAs = drafts::storedFile(m_root, draft);
    return m_kind == drafts::Kind::Note ? notestore::loadFile(m_root, draft.path, storedAs)
                                        : pagestore::loadFile(m_root, draft.path, storedAs);
}
