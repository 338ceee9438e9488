#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace tool {

// The desktop's notifications; tests hand in a fake, so they need no bus.
class Notifications : public QObject
{
    Q_OBJECT
public:
    struct Note
    {
        QString summary;
        QString body;
        // Shown under the notification; clicking the notification itself does the same.
        QString actionCaption;
        std::chrono::milliseconds expiry{};
    };
    // The service's id for the notification; `error` says why when no service answered.
    struct Sent
    {
        uint id = 0;
        QString error;
    };

    using QObject::QObject;
    virtual Sent notify(const Note &note) = 0;

signals:
    void actionInvoked(uint id, const QString &action);
    void closed(uint id);
};

struct NoteHandlers
{
    std::function<void()> shown;
    std::function<void()> clicked;
};

// Shows the note and waits, at most `wait`, for it to be clicked or closed.
// kDone, or kFailed after saying that no service answered.
int notifyAndWait(Notifications &notifications, const Notifications::Note &note, std::chrono::milliseconds wait,
                  const NoteHandlers &handlers);

} // namespace tool
