#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

class Vault;

// The pages whose stored file holds the scrambled term on one line, each
// once, in the order of pageNames. The files are scanned as they lie on disk.
// A term with a character that cannot be stored finds nothing; a file that
// cannot be read, or is larger than a page file can be, is passed over.
// With a vault, each file is opened in memory first and searched as its
// plain form would be. The pages are shared among the machine's cores; the
// result is the same as one thread's would be. unopened, when given,
// receives the names that could not be read or, with a vault, opened.
// unsealed, when given, receives the pages a search without a vault read
// whole and found not to begin as a sealed file does, so that the look for
// the sealed mark (sealedmark.h) need not open them again.
QStringList searchPages(const QString &pagesDir, const QStringList &pageNames, QStringView term, const Vault *vault = nullptr,
                        QStringList *unopened = nullptr, QStringList *unsealed = nullptr);

namespace search {

// One thread's share of the names searched: it takes a few indices at a time
// from the counter all threads share, so a thread slowed by a neighbour
// leaves the rest to the others, and marks the matches where every thread
// can without a lock, one flag per name.
class Share
{
public:
    Share(std::atomic<qsizetype> &taken, std::vector<char> &found) : m_taken(taken), m_found(found) {}
    // The next index, or -1 once every index was taken.
    qsizetype next();
    // The index next() gave last is a match.
    void match() { m_found[size_t(m_at - 1)] |= kMatch; }
    // The page of the index next() gave last did not open.
    void unopened() { m_found[size_t(m_at - 1)] = kUnopened; }
    // The page of the index next() gave last was read and is not sealed.
    void unsealed() { m_found[size_t(m_at - 1)] |= kUnsealed; }

    static constexpr char kMatch = 1;
    static constexpr char kUnopened = 2;
    static constexpr char kUnsealed = 4;

private:
    std::atomic<qsizetype> &m_taken;
    std::vector<char> &m_found;
    qsizetype m_at = 0;
    qsizetype m_end = 0;
};

// What work marked of count indices, one mark an index: Runs work as
// matching() does.
std::vector<char> marked(qsizetype count, const std::function<void(Share &)> &work);

// The names work marked, in their order. Runs work on the calling thread
// and, for a list long enough to pay for starting threads, on one more
// thread per further core; each call draws from its own Share until every
// name is taken. unopened and unsealed, when given, receive the names marked so.
QStringList matching(const QStringList &names, const std::function<void(Share &)> &work, QStringList *unopened = nullptr,
                     QStringList *unsealed = nullptr);

} // namespace search
