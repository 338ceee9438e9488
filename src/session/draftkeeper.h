#pragma once

#include "diary/dataroot.h"
#include "diary/drafts.h"

#include <QObject>
#include <QTextDocument>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// Draft files are written off the window's thread, so a slow disk never holds
// up typing, and one at a time, so a removal never overtakes the write before it.
class DraftWriter
{
public:
    DraftWriter() { m_pool.setMaxThreadCount(1); }
    void post(std::function<void()> job) { m_pool.start(std::move(job)); }
    void waitForDone() { m_pool.waitForDone(); }

private:
    QThreadPool m_pool;
};

// Keeps one document's draft at most `delay` behind its first change since
// the last write: a change starts the wait, and later ones ride along, so
// steady typing still reaches the disk every `delay`.
class DraftKeeper : public QObject
{
public:
    // bytes runs on the writer's thread, so what takes long is done there.
    struct Content
    {
        QString key;
        std::function<QByteArray()> bytes;
    };
    using Snapshot = std::function<Content()>;

    // A copy of the document, taken now, that the writer turns into RTF.
    static Content pageContent(const QString &key, const QTextDocument &document);

    DraftKeeper(std::shared_ptr<DraftWriter> writer, drafts::Kind kind, Snapshot snapshot, std::chrono::milliseconds delay,
                QObject *parent = nullptr);

    // Nothing is written before the diary's folder is known.
    void setRoot(const DataRoot &root) { m_root = root; }
    // Asked before each write; while it says no, nothing is written.
    void setGuard(std::function<bool()> guard) { m_guard = std::move(guard); }
    void touched();
    // Stored, or let go on purpose: the draft goes.
    void settled();
    // Neither stored nor refused, yet replaced: the draft goes to the history.
    void setAside();
    // Written at once, in place of the given draft, which goes.
    void takeOver(const drafts::Draft &found);
    void setDelay(std::chrono::milliseconds delay) { m_timer.setInterval(delay); }
    // What waits for the delay is written now.
    void flush();
    // Written now, whether or not anything changed since the last write.
    void writeNow();
    // This keeper's draft on disk, once every write is done; nothing when
    // there is none or it does not open.
    std::optional<QByteArray> readBack() const;
    // Nothing waits to be written and no draft of this keeper's is on disk.
    bool idle() const { return !m_timer.isActive() && m_writtenKey.isEmpty(); }

private:
    std::shared_ptr<DraftWriter> m_writer;
    DataRoot m_root{QString()};
    drafts::Kind m_kind;
    Snapshot m_snapshot;
    std::function<bool()> m_guard;
    QTimer m_timer;
    QString m_writtenKey;
};
