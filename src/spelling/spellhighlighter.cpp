#include "spellhighlighter.h"

#include "service.h"
#include "words.h"

#include "richtext/unchecked.h"

#include <QElapsedTimer>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace spelling {

namespace {

// A change this small is typing or a short paste, checked before it shows.
constexpr int kCheckedAtOnce = 1000;
// Short enough that a key pressed meanwhile is handled within a frame.
constexpr qint64 kSliceNanoseconds = 4'000'000;
// The page shows before its words are looked at: its first paint comes first.
constexpr int kAfterShowingMs = 25;

// A block whose words were looked at since it last changed.
class Checked final : public QTextBlockUserData
{
};

// Where in the block the words marked to be passed over lie, as [start, end) pairs.
QList<std::pair<qsizetype, qsizetype>> passedOver(const QTextBlock &block)
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (richtext::isUnchecked(it.fragment().charFormat())) {
            const qsizetype start = it.fragment().position() - block.position();
            spans.append({start, start + it.fragment().length()});
        }
    }
    return spans;
}

} // namespace

SpellHighlighter::SpellHighlighter(QTextDocument &document, const Service &service, QObject *parent)
    : QSyntaxHighlighter(parent), m_document(document), m_service(service)
{
    m_mark.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_mark.setUnderlineColor(Qt::red);
    m_slices.setSingleShot(true);
    connect(&m_slices, &QTimer::timeout, this, [this] { checkSlice(kSliceNanoseconds); });
    connect(&m_service, &Service::changed, this, &SpellHighlighter::checkAgain);
    attach();
}

SpellHighlighter::~SpellHighlighter()
{
    detach();
}

// Our watch on the document comes before and after the highlighter's own, so
// it knows the size of the change the highlighter is about to look at.
void SpellHighlighter::attach()
{
    // A document no editor shows yet has no layout, and without one it reports no changes.
    m_document.documentLayout();
    m_watching.append(connect(&m_document, &QTextDocument::contentsChange, this, &SpellHighlighter::beforeChange));
    setDocument(&m_document);
    m_watching.append(connect(&m_document, &QTextDocument::contentsChange, this, [this] { m_checkNow = false; }));
}

void SpellHighlighter::detach()
{
    for (const QMetaObject::Connection &watch : std::as_const(m_watching))
        disconnect(watch);
    m_watching.clear();
    setDocument(nullptr);
    m_slices.stop();
}

void SpellHighlighter::beforeChange(int, int, int added)
{
    m_checkNow = added <= kCheckedAtOnce;
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    if (!m_checkNow && !m_slicing) {
        setCurrentBlockUserData(nullptr);
        if (!m_slices.isActive())
            m_slices.start(kAfterShowingMs);
        return;
    }
    const auto passed = passedOver(currentBlock());
    for (const Word &word : wordsOf(text)) {
        const auto inside = [&word](const auto &span) { return word.start >= span.first && word.start < span.second; };
        if (!std::ranges::any_of(passed, inside) && m_service.isMisspelt(text.mid(word.start, word.length)))
            setFormat(int(word.start), int(word.length), m_mark);
    }
    setCurrentBlockUserData(new Checked);
}

void SpellHighlighter::checkSlice(qint64 nanoseconds)
{
    if (!document())
        return;
    QElapsedTimer clock;
    clock.start();
    m_slicing = true;
    for (QTextBlock block = m_document.begin(); block.isValid() && clock.nsecsElapsed() < nanoseconds; block = block.next()) {
        if (!block.userData())
            rehighlightBlock(block);
    }
    m_slicing = false;
    if (!isFinished())
        m_slices.start(0);
}

void SpellHighlighter::finishNow()
{
    checkSlice(std::numeric_limits<qint64>::max());
}

bool SpellHighlighter::isFinished() const
{
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!block.userData())
            return false;
    }
    return true;
}

// Marks made under the old language or words stay until their block is looked at again.
void SpellHighlighter::checkAgain()
{
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        block.setUserData(nullptr);
    if (document())
        m_slices.start(0);
}

} // namespace spelling
