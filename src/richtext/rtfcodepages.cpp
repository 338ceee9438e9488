#include "rtfcodepages.h"

#include "diary/codepage.h"

namespace richtext {

namespace {
constexpr const char *kWestern = codepage::kName;
}

// ICU has no converter for the Mac CJK sets; each extends the Windows or EUC
// set it is named after in only a few bytes.
QByteArray charsetCodePage(int charset)
{
    switch (charset) {
    case 0:
    case 2: return kWestern;
    case 77: return "macintosh";
    case 78: return "Shift_JIS";
    case 79: return "EUC-KR";
    case 80: return "GB2312";
    case 81: return "Big5";
    case 85: return "x-mac-greek";
    case 86: return "x-mac-turkish";
    case 88: return "x-mac-centraleurroman";
    case 89: return "x-mac-cyrillic";
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
    case 10001: return "Shift_JIS";
    case 10002: return "Big5";
    case 10003: return "EUC-KR";
    case 10008: return "GB2312";
    default: break;
    }
    const QByteArray name = "windows-" + QByteArray::number(number);
    return QStringDecoder(name.constData()).isValid() ? name : QByteArray(kWestern);
}

void CodePageDecoder::append(QString &out, QByteArrayView bytes, const QByteArray &codePage)
{
    if (codePage.isEmpty() || codePage == kWestern) {
        out += codepage::decode(bytes);
        return;
    }
    out += decoderFor(codePage).decode(bytes);
}

QStringDecoder &CodePageDecoder::decoderFor(const QByteArray &codePage)
{
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end()) {
        QStringDecoder decoder(codePage.constData(), QStringConverter::Flag::Stateless);
        found = m_decoders.emplace(codePage, decoder.isValid() ? std::move(decoder) : QStringDecoder(kWestern)).first;
    }
    return found->second;
}

} // namespace richtext
