#include "rtfcodepages.h"

#include "diary/codepage.h"

namespace richtext {

namespace {
constexpr const char *kWestern = codepage::kName;
}

// Windows-1252 is nearly every page's code page: a table keeps it off ICU.
const std::array<char16_t, 256> &westernCharacters()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QStringDecoder decoder(kWestern);
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            t[b] = one.isEmpty() ? u'\uFFFD' : one[0].unicode();
        }
        return t;
    }();
    return table;
}

QByteArray charsetCodePage(int charset)
{
    switch (charset) {
    case 77: return "macintosh";
    case 128: return "Shift_JIS";
    case 129: return "windows-949";
    case 134: return "GBK";
    case 136: return "Big5";
    case 161: return "windows-1253";
    case 162: return "windows-1254";
    case 163: return "windows-1258";
    case 177: return "windows-1255";
    case 178: return "windows-1256";
    case 186: return "windows-1257";
    case 204: return "windows-1251";
    case 222: return "windows-874";
    case 238: return "windows-1250";
    case 255: return "IBM437";
    default: return {};
    }
}

QByteArray windowsCodePage(int number)
{
    switch (number) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 950: return "Big5";
    case 10000: return "macintosh";
    default: break;
    }
    const QByteArray name = "windows-" + QByteArray::number(number);
    return QStringDecoder(name.constData()).isValid() ? name : QByteArray(kWestern);
}

void CodePageDecoder::append(QString &out, QByteArrayView bytes, const QByteArray &codePage)
{
    if (codePage.isEmpty() || codePage == kWestern) {
        const auto &table = westernCharacters();
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        QChar *to = out.data() + start;
        for (const char b : bytes)
            *to++ = QChar(table[uchar(b)]);
        return;
    }
    out += decoderFor(codePage).decode(bytes);
}

QStringDecoder &CodePageDecoder::decoderFor(const QByteArray &codePage)
{
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end()) {
        QStringDecoder decoder(codePage.constData());
        found = m_decoders.emplace(codePage, decoder.isValid() ? std::move(decoder) : QStringDecoder(kWestern)).first;
    }
    return found->second;
}

} // namespace richtext
