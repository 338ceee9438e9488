#include "rtfwalkstate.h"

#include "rtflimits.h"

#include <algorithm>
#include <utility>

namespace richtext {

RtfState::RtfState()
{
    m_groups.reserve(64);
    m_groups.emplace_back();
}

void RtfState::openGroup()
{
    m_starred = false;
    if (m_overflowDepth > 0 || int(m_groups.size()) > limits::kGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    const Group inner = top();
    m_groups.push_back(inner);
}

bool RtfState::groupCloses()
{
    m_starred = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return false;
    }
    if (m_groups.size() == 1)
        return false;
    if (top().destination == Destination::FontTable)
        endFontName();
    return true;
}

bool RtfState::popGroup()
{
    m_groups.pop_back();
    return m_groups.size() == 1;
}

void RtfState::tableText(QByteArrayView bytes)
{
    if (top().destination == Destination::FontTable) {
        for (const char c : bytes) {
            if (c == ';')
                endFontName();
            else
                m_fontName.append(c);
        }
        return;
    }
    if (top().destination == Destination::ShapeName) {
        const qsizetype room = std::max<qsizetype>(limits::kControlWordLetters - m_shapeName.size(), 0);
        m_shapeName.append(bytes.first(std::min(bytes.size(), room)));
        return;
    }
    if (top().destination != Destination::ColorTable)
        return;
    for (const char c : bytes) {
        if (c != ';' || m_colors.size() >= size_t(limits::kTableEntries))
            continue;
        m_colors.push_back(m_colorEntryUsed ? std::optional<QColor>(m_colorEntry) : std::nullopt);
        m_colorEntry = QColor(0, 0, 0);
        m_colorEntryUsed = false;
    }
}

void RtfState::decodeHeld(QString &out)
{
    m_decoder.append(out, m_bytes, m_runCodePage);
    m_bytes.resize(0);
}

void RtfState::endFontName()
{
    const QByteArray bytes = std::exchange(m_fontName, {});
    if (m_fontEntry < 0 || bytes.trimmed().isEmpty())
        return;
    if (m_fonts.size() >= size_t(limits::kTableEntries) && !m_fonts.contains(m_fontEntry))
        return;
    Font &entry = m_fonts[m_fontEntry];
    QString name;
    m_decoder.append(name, bytes, entry.codePage.isEmpty() ? m_documentCodePage : entry.codePage);
    entry.name = name.trimmed();
}

} // namespace richtext
