// Reading and writing a 1 MiB RTF document in the form rich edits write, next to
// rtfToText on the same bytes: rtfToText is the reference (the small reader that only
// collects characters), PlainText and Parse show the rich reader's core alone,
// ReadDocument adds building the QTextDocument, WriteDocument writes it back.
#include "richtext/PlainText.h"
#include "richtext/RtfDocumentReader.h"
#include "richtext/RtfDocumentWriter.h"
#include "richtext/RtfParser.h"
#include "richtext/RtfToText.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray makeDocument()
{
    QByteArray rtf("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                   "{\\f1\\fnil\\fcharset0 Courier New;}}\r\n"
                   "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                   "\\viewkind4\\uc1\\pard\\f0\\fs20 ");
    int n = 0;
    while (rtf.size() < (1 << 20)) {
        rtf += "Entry " + QByteArray::number(n) + ": user \\b name" + QByteArray::number(n % 97) +
               "\\b0 , password \\f1 x7#Qp\\f0 , \\i note\\i0  about the caf\\'e9 in K\\'f6ln for 5 "
               "\\u8364? \\cf1 red\\cf0  and \\cf2\\ul underlined\\ulnone\\cf0  words.\\par\r\n";
        if (++n % 10 == 0) {
            rtf += "\\pard\\qc\\fs28 Heading " + QByteArray::number(n) + "\\fs20\\par\r\n\\pard\\li360 ";
        }
    }
    rtf += "}\r\n";
    return rtf;
}

const QByteArray &document()
{
    static const QByteArray rtf = makeDocument();
    return rtf;
}

void setBytes(benchmark::State &state)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * document().size());
}

void BM_RtfToText(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtfToText(document()));
    }
    setBytes(state);
}
BENCHMARK(BM_RtfToText)->Unit(benchmark::kMillisecond);

void BM_PlainTextOf(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainTextOf(document()));
    }
    setBytes(state);
}
BENCHMARK(BM_PlainTextOf)->Unit(benchmark::kMillisecond);

void BM_ParseRtf(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseRtf(document()));
    }
    setBytes(state);
}
BENCHMARK(BM_ParseRtf)->Unit(benchmark::kMillisecond);

void BM_ReadDocument(benchmark::State &state)
{
    for (auto _ : state) {
        QTextDocument doc;
        readRtfDocument(document(), doc);
        benchmark::DoNotOptimize(doc.blockCount());
    }
    setBytes(state);
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

void BM_WriteDocument(benchmark::State &state)
{
    QTextDocument doc;
    readRtfDocument(document(), doc);
    QByteArray written;
    for (auto _ : state) {
        written = writeRtfDocument(doc);
        benchmark::DoNotOptimize(written.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * written.size());
    state.counters["output_bytes"] = double(written.size());
}
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // QTextDocument needs fonts, not a display
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
