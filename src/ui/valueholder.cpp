#include "valueholder.h"

#include <utility>

ValueHolder::ValueHolder(QString text) : m_text(std::move(text)) {}

void ValueHolder::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void ValueHolder::set(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    // A copy, so a handler that replaces the handler does not destroy itself
    // while it runs.
    if (const Handler handler = m_handler)
        handler();
}
