#pragma once

#include <QString>

#include <functional>

// A text that tells its owner when it changes. set() runs the handler at
// once, nested inside the call, and only for a text that differs from the one
// held. The handler reads text() rather than being handed the new text: a
// set from inside a handler (of this holder too) runs its own handler nested
// and to its end first, and text() then already holds that newer text.
class ValueHolder
{
public:
    using Handler = std::function<void()>;

    explicit ValueHolder(QString text = QString());

    void setHandler(Handler handler);
    void set(const QString &text);
    const QString &text() const { return m_text; }

private:
    QString m_text;
    Handler m_handler;
};
