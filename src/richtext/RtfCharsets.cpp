#include "RtfCharsets.h"

#include "platform/CodePage.h"

namespace RtfCharsets {

int codePageOf(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return SymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodePage;
    }
}

const char *decoderName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace RtfCharsets

QStringDecoder *RtfTextDecoder::decoderFor(int codePage)
{
    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end()) {
        std::unique_ptr<QStringDecoder> decoder;
        if (const char *name = RtfCharsets::decoderName(codePage)) {
            decoder = std::make_unique<QStringDecoder>(name, QStringConverter::Flag::Stateless);
            if (!decoder->isValid()) {
                decoder.reset();
            }
        }
        it = m_decoders.emplace(codePage, std::move(decoder)).first;
    }
    return it->second.get();
}

void RtfTextDecoder::decode(QByteArrayView bytes, int codePage, QString &out)
{
    if (bytes.isEmpty()) {
        return;
    }
    const bool own = codePage == 1252 || codePage == RtfCharsets::SymbolCodePage;
    QStringDecoder *decoder = own ? nullptr : decoderFor(codePage);
    if (decoder) {
        out += decoder->decode(bytes);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *next = out.data() + start;
    const bool symbol = codePage == RtfCharsets::SymbolCodePage;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *next++ = symbol && byte == 0xB7 ? QChar(0x2022) : CodePage::toUnicode(byte);
    }
}
