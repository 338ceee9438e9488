#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QTextDocument>

#include <benchmark/benchmark.h>

// Text extraction against the document path export used before, on two
// large pages: one as bench/richtext/export-vs-unrtf writes it (font
// changes, toggles, \'hh and \uN in every paragraph; 56000 paragraphs make
// its 7.4 MB page), one of plain prose.
namespace {

constexpr int kParagraphs = 20000;

QByteArray richEditPage(int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                     "\\viewkind4\\uc1";
    for (int i = 0; i < paragraphs; ++i)
        rtf += "\\pard\\f" + QByteArray::number(i % 2) + "\\fs20 Day " + QByteArray::number(i)
            + ": we walked to the caf\\'e9 by the \\b harbour\\b0 , saw \\i the \\u946?oats\\i0  and "
              "{\\cf1 red sails} again.\\par\r\n";
    return rtf + "}";
}

QByteArray prosePage()
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\pard\\f0\\fs20 ";
    for (int i = 0; i < kParagraphs; ++i)
        rtf += "We walked along the harbour wall in the morning, watched the boats come in with the tide and "
               "talked about nothing in particular until the rain sent us home.\\par\r\n";
    return rtf + "}";
}

void extract(benchmark::State &state, const QByteArray &rtf)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(richtext::visibleText(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["page_mb"] = double(rtf.size()) / 1e6;
}

void throughDocument(benchmark::State &state, const QByteArray &rtf)
{
    for (auto _ : state) {
        QTextDocument document;
        (void)richtext::readRtf(rtf, document);
        benchmark::DoNotOptimize(richtext::plainText(document));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["page_mb"] = double(rtf.size()) / 1e6;
}

} // namespace

BENCHMARK_CAPTURE(extract, richedit, richEditPage(kParagraphs))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(throughDocument, richedit, richEditPage(kParagraphs))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract, richedit_7mb, richEditPage(56000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(throughDocument, richedit_7mb, richEditPage(56000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract, prose, prosePage())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(throughDocument, prose, prosePage())->Unit(benchmark::kMillisecond);
