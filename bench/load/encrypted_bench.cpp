#include "../core/diarygen.h"

#include "diary/conversion.h"
#include "diary/filelist.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/search.h"
#include "vault/vault.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Diary
{
    QTemporaryDir dir;
    DataRoot plain{dir.path()};
    std::shared_ptr<Vault> vault;

    explicit Diary(int days)
    {
        QDir(dir.path()).mkdir(QStringLiteral("pages"));
        QDir(dir.path()).mkdir(QStringLiteral("dates"));
        diarygen::Options options;
        options.days = days;
        diarygen::generate(plain, options);
        passwordfile::write(plain.passwordFile(), u"none");
    }
    DataRoot encrypted() const { return DataRoot(dir.path(), vault); }
};

std::shared_ptr<Vault> newVault(const SecretBytes &password, KdfLimits limits)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, password, limits);
    return std::make_shared<Vault>(std::move(master), *slot);
}

void signIn(int runs)
{
    const KdfLimits limits = productPolicy().chooseForNewSlot();
    const SecretBytes password = keyslot::passwordBytes(u"correct horse battery");
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, password, limits);
    const double ms = medianMs(runs, [&] { keyslot::unwrap(*slot, password); });
    std::printf("sign-in (Argon2id ops=%llu, %zu MiB): %.0f ms (goal 500 to 1000 ms)\n", limits.ops, limits.memory >> 20, ms);
}

void openAndSave(int runs)
{
    // Two diaries, so neither pays for the other's page history.
    Diary plainDiary(1);
    Diary sealedDiary(1);
    sealedDiary.vault = newVault(keyslot::passwordBytes(u"bench password"), {1, 8192});
    const QByteArray rtf = diarygen::pageRtf(42, true);
    const QDate day(2024, 3, 5);
    auto cycle = [&](const DataRoot &root) {
        return medianMs(runs, [&] {
            for (int i = 0; i < 50; ++i) {
                pagestore::save(root, day, rtf);
                pagestore::load(root, day);
            }
        });
    };
    const double plain = cycle(plainDiary.plain);
    const double sealed = cycle(sealedDiary.encrypted());
    std::printf("open and save a %lld-byte page, 50 times: plain %.1f ms, encrypted %.1f ms, ratio %.2f (goal at most 1.10)\n",
                qlonglong(rtf.size()), plain, sealed, sealed / plain);
}

void searchAndConvert(int days, int runs)
{
    Diary diary(days);
    const QStringList names = sortedFileNames(diary.plain.pagesDir());
    QStringList found;
    const double plain = medianMs(runs, [&] { found = searchPages(diary.plain.pagesDir(), names, u"harbour"); });
    diary.vault = newVault(keyslot::passwordBytes(u"bench password"), {1, 8192});
    const double encrypt = medianMs(1, [&] { conversion::encrypt(diary.plain, *diary.vault, "quillnest-key bench"); });
    QStringList sealedFound;
    const double sealed = medianMs(runs, [&] { sealedFound = searchPages(diary.plain.pagesDir(), names, u"harbour", diary.vault.get()); });
    const double decrypt = medianMs(1, [&] { conversion::decrypt(diary.encrypted(), passwordfile::fileBytes(u"none")); });
    std::printf("search %d pages: plain %.1f ms, encrypted %.1f ms, ratio %.2f (goal at most 2), same results: %s\n",
                int(names.size()), plain, sealed, sealed / plain, found == sealedFound ? "yes" : "NO");
    std::printf("convert %d pages: encrypt %.1f s, decrypt %.1f s\n", int(names.size()), encrypt / 1000, decrypt / 1000);
}

} // namespace

// The encrypted diary's costs, each beside the plain diary's in the same run.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption centuryOption(QStringLiteral("century"), QStringLiteral("Pages converted."), QStringLiteral("N"),
                                           QStringLiteral("36500"));
    parser.addOption(centuryOption);
    parser.process(app);
    signIn(3);
    openAndSave(5);
    searchAndConvert(10000, 5);
    searchAndConvert(parser.value(centuryOption).toInt(), 1);
    return 0;
}
