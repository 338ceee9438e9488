#include "textcache.h"

#include "rtftext.h"

#include "diary/pagestore.h"
#include "vault/wipe.h"

#include <QFile>

#include <algorithm>
#include <mutex>
#include <string_view>
#include <sys/stat.h>

namespace textsearch {

namespace {

bool fitsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

std::string_view viewOf(const QByteArray &bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

} // namespace

Word::Word(const QString &word) : text(word)
{
    if (fitsLatin1(word))
        latin1 = word.toLatin1();
}

CompactText::CompactText(const QString &text)
{
    if (fitsLatin1(text)) {
        m_latin1 = text.toLatin1();
    } else {
        m_wide = text;
        m_wide.squeeze();
    }
}

bool CompactText::contains(const Word &word) const
{
    if (!m_wide.isNull())
        return m_wide.contains(word.text);
    // A word with a character beyond Latin-1 cannot be in a text without one.
    return word.latin1 && viewOf(m_latin1).find(viewOf(*word.latin1)) != std::string_view::npos;
}

QString CompactText::toString() const
{
    return m_wide.isNull() ? QString::fromLatin1(m_latin1) : m_wide;
}

CompactText CompactText::folded() const
{
    // ASCII folds by lowering its capitals alone, which spares most pages
    // Qt's walk through the Unicode tables.
    if (m_wide.isNull() && std::all_of(m_latin1.cbegin(), m_latin1.cend(), [](char c) { return uchar(c) < 0x80; })) {
        CompactText ascii;
        ascii.m_latin1 = m_latin1.toLower();
        return ascii;
    }
    const QString text = toString();
    const QString folded = text.toCaseFolded();
    return folded.constData() == text.constData() ? *this : CompactText(folded);
}

void CompactText::wipe()
{
    ::wipe(m_latin1);
    ::wipe(m_wide);
}

qsizetype CompactText::bytesBeyond(const CompactText &other) const
{
    const qsizetype latin1 = m_latin1.constData() == other.m_latin1.constData() ? 0 : m_latin1.capacity();
    const qsizetype wide = m_wide.constData() == other.m_wide.constData() ? 0 : m_wide.capacity() * qsizetype(sizeof(QChar));
    return latin1 + wide;
}

void TextCache::forget(const QString &name)
{
    const std::unique_lock lock(m_mutex);
    m_pages.remove(name);
    if (m_folderStamp)
        m_folderStamp = stampOf(m_confirmedFolder);
}

void TextCache::confirmFolder(const QString &folder, const Stamp &stamp)
{
    const std::unique_lock lock(m_mutex);
    m_confirmedFolder = folder;
    m_folderStamp = stamp;
}

bool TextCache::folderConfirmed(const QString &folder, const Stamp &stamp) const
{
    const std::shared_lock lock(m_mutex);
    return m_folderStamp == stamp && m_confirmedFolder == folder;
}

std::optional<TextCache::Texts> TextCache::kept(const QString &name) const
{
    const std::shared_lock lock(m_mutex);
    const auto kept = m_pages.constFind(name);
    return kept == m_pages.cend() ? std::nullopt : std::optional(*kept);
}

void TextCache::clear()
{
    const std::unique_lock lock(m_mutex);
    for (Texts &texts : m_pages) {
        // The folded text may share the shown one's bytes: let go first, the shown one is then the last holder.
        if (texts.folded)
            texts.folded->wipe();
        texts.shown.wipe();
        if (texts.figures) {
            wipe(texts.figures->firstLine);
            for (QString &tag : texts.figures->tags)
                wipe(tag);
        }
    }
    m_pages.clear();
    m_folderStamp.reset();
}

std::optional<TextCache::Texts> TextCache::find(const QString &name, const Stamp &stamp) const
{
    const std::shared_lock lock(m_mutex);
    const auto kept = m_pages.constFind(name);
    if (kept == m_pages.cend() || kept->stamp != stamp)
        return std::nullopt;
    return *kept;
}

void TextCache::keep(const QString &name, const Texts &texts)
{
    const std::unique_lock lock(m_mutex);
    m_pages.insert(name, texts);
}

qsizetype TextCache::bytes() const
{
    const std::shared_lock lock(m_mutex);
    qsizetype total = 0;
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        total += page.key().capacity() * qsizetype(sizeof(QChar)) + page->shown.bytesBeyond({});
        if (page->folded)
            total += page->folded->bytesBeyond(page->shown);
        if (page->figures) {
            total += page->figures->firstLine.capacity() * qsizetype(sizeof(QChar));
            for (const QString &tag : page->figures->tags)
                total += tag.capacity() * qsizetype(sizeof(QChar));
        }
    }
    return total;
}

std::optional<TextCache::Stamp> stampOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    const auto nanoseconds = [](const auto &time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return TextCache::Stamp{info.st_ino, info.st_size, nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
}

std::optional<TextCache::Texts> pageTexts(const DataRoot &root, const QString &name, TextCache *cache,
                                          const Completion &complete)
{
    const QString path = root.pagesDir() + QLatin1Char('/') + name;
    // Looked at before the file is read, so a change made meanwhile leaves
    // an older stamp behind and the next reading takes the file again.
    const auto stamp = cache ? stampOf(path) : TextCache::Stamp{};
    if (!stamp)
        return std::nullopt;
    auto texts = cache ? cache->find(name, *stamp) : std::nullopt;
    bool changed = false;
    if (!texts) {
        const auto rtf = pagestore::loadFile(root, path);
        if (!rtf)
            return std::nullopt;
        texts = TextCache::Texts{*stamp, CompactText(richtext::visibleText(*rtf)), std::nullopt, std::nullopt};
        changed = true;
    }
    if (complete && complete(*texts))
        changed = true;
    if (cache && changed)
        cache->keep(name, *texts);
    return texts;
}

} // namespace textsearch
