#include "syncthingdevice.h"

#include "diary/boundedfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace syncthingdevice {

namespace {

constexpr qint64 kLargestCertificate = 64 * 1024;
constexpr int kShortIdLength = 7;

QStringList homes()
{
    if (const QString home = qEnvironmentVariable("STHOMEDIR"); !home.isEmpty())
        return {home};
    const QString user = QDir::homePath();
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/syncthing"),
            user + QStringLiteral("/.local/state/syncthing")};
}

// Five bytes make eight base32 characters, more than a short id needs.
QString base32Start(QByteArrayView bytes)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    quint64 bits = 0;
    for (int i = 0; i < 5; ++i)
        bits = bits << 8 | quint8(bytes[i]);
    QString out;
    for (int shift = 35; out.size() < kShortIdLength; shift -= 5)
        out += QLatin1Char(kAlphabet[(bits >> shift) & 31]);
    return out;
}

} // namespace

QString shortIdOf(const QByteArray &pem)
{
    static const QByteArray begin("-----BEGIN CERTIFICATE-----");
    static const QByteArray end("-----END CERTIFICATE-----");
    const qsizetype from = pem.indexOf(begin);
    const qsizetype to = pem.indexOf(end, from);
    if (from < 0 || to < 0)
        return {};
    const auto der = QByteArray::fromBase64Encoding(pem.mid(from + begin.size(), to - from - begin.size()).simplified().replace(' ', ""),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    if (!der || der.decoded.isEmpty())
        return {};
    return base32Start(QCryptographicHash::hash(der.decoded, QCryptographicHash::Sha256));
}

QString thisShortId()
{
    for (const QString &home : homes()) {
        if (const boundedfile::Contents pem = boundedfile::read(home + QStringLiteral("/cert.pem"), kLargestCertificate))
            return shortIdOf(pem.bytes);
    }
    return {};
}

} // namespace syncthingdevice
