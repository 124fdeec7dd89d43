#include "RtfCharsets.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodePageEntry {
    int codePage;
    const char *decoder; // the ICU name, nullptr when ICU has none
    int fallback;        // the Windows code page read instead, 0 none
};

// Sorted by code page. The Mac code pages ICU lacks (the CJK ones, Arabic, Hebrew,
// Thai) read as the Windows code page of the same script; Johab has neither.
constexpr CodePageEntry kCodePages[] = {
    {437, "IBM437", 0},
    {737, "ibm-737", 0},
    {775, "ibm-775", 0},
    {850, "IBM850", 0},
    {852, "ibm-852", 0},
    {855, "ibm-855", 0},
    {857, "ibm-857", 0},
    {860, "ibm-860", 0},
    {861, "ibm-861", 0},
    {862, "ibm-862", 0},
    {863, "ibm-863", 0},
    {864, "ibm-864", 0},
    {865, "ibm-865", 0},
    {866, "ibm-866", 0},
    {869, "ibm-869", 0},
    {874, "windows-874", 0},
    {932, "windows-932", 0},
    {936, "windows-936", 0},
    {949, "windows-949", 0},
    {950, "windows-950", 0},
    {1250, "windows-1250", 0},
    {1251, "windows-1251", 0},
    {1253, "windows-1253", 0},
    {1254, "windows-1254", 0},
    {1255, "windows-1255", 0},
    {1256, "windows-1256", 0},
    {1257, "windows-1257", 0},
    {1258, "windows-1258", 0},
    {10000, "macintosh", 0},
    {10001, nullptr, 932},
    {10002, nullptr, 950},
    {10003, nullptr, 949},
    {10004, nullptr, 1256},
    {10005, nullptr, 1255},
    {10006, "x-mac-greek", 1253},
    {10007, "x-mac-cyrillic", 1251},
    {10008, nullptr, 936},
    {10021, nullptr, 874},
    {10029, "x-mac-centraleurroman", 1250},
    {10081, "x-mac-turkish", 1254},
    {20866, "KOI8-R", 1251},
    {21866, "KOI8-U", 1251},
    {28591, "ISO-8859-1", 0},
    {28592, "ISO-8859-2", 1250},
    {28595, "ISO-8859-5", 1251},
    {28597, "ISO-8859-7", 1253},
    {28605, "ISO-8859-15", 0},
    {51932, "EUC-JP", 932},
    {51949, "EUC-KR", 949},
    {54936, "GB18030", 936},
    {65001, "UTF-8", 0},
};

const CodePageEntry *entryOf(int codePage)
{
    const auto it = std::lower_bound(std::begin(kCodePages), std::end(kCodePages), codePage,
                                     [](const CodePageEntry &e, int cp) { return e.codePage < cp; });
    return it != std::end(kCodePages) && it->codePage == codePage ? &*it : nullptr;
}

std::unique_ptr<QStringDecoder> makeDecoder(int codePage)
{
    const CodePageEntry *entry = entryOf(codePage);
    if (!entry || !entry->decoder) {
        return {};
    }
    auto decoder = std::make_unique<QStringDecoder>(entry->decoder, QStringConverter::Flag::Stateless);
    return decoder->isValid() ? std::move(decoder) : nullptr;
}

} // namespace

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
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 10021;
    case 88:
        return 10029;
    case 89:
        return 10007;
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
    const CodePageEntry *entry = entryOf(codePage);
    return entry ? entry->decoder : nullptr;
}

int fallbackOf(int codePage)
{
    const CodePageEntry *entry = entryOf(codePage);
    return entry ? entry->fallback : 0;
}

} // namespace RtfCharsets

// A code page without a decoder of its own borrows its fallback's; with neither, nullptr.
QStringDecoder *RtfTextDecoder::decoderFor(int codePage)
{
    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end()) {
        std::unique_ptr<QStringDecoder> decoder = makeDecoder(codePage);
        if (!decoder) {
            decoder = makeDecoder(RtfCharsets::fallbackOf(codePage));
        }
        it = m_decoders.emplace(codePage, std::move(decoder)).first;
    }
    return it->second.get();
}

void RtfTextDecoder::decode(QByteArrayView bytes, RtfFontEncoding encoding, QString &out)
{
    if (bytes.isEmpty()) {
        return;
    }
    if (encoding.symbols != RtfSymbolFont::None) {
        RtfSymbolFonts::appendBytes(encoding.symbols, bytes, out);
        return;
    }
    QStringDecoder *decoder = encoding.codePage == 1252 ? nullptr : decoderFor(encoding.codePage);
    if (decoder) {
        out += decoder->decode(bytes);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *next = out.data() + start;
    for (const char c : bytes) {
        *next++ = CodePage::toUnicode(static_cast<unsigned char>(c));
    }
}
