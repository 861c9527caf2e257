// Word labels of a 60-sentence list written to an A4 PDF, as the editor prints them.
#include "guibenchmain.h"

#include "common/sentencefile.h"
#include "editor/labelsheet.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {
QStringList sixtySentences()
{
    const std::optional<QStringList> shipped =
        SentenceFile::read(QStringLiteral(PLUMALIN_SOURCE_DIR "/resources/plumalin.txt"));
    QStringList list = shipped.value_or(QStringList());
    for (int i = 0; list.size() < 60; ++i)
        list.append(QStringLiteral("Le petit chat gris numéro %1 dort près du feu.").arg(i));
    return list.mid(0, 60);
}
}

static void BM_LabelsSixtySentencesToPdf(benchmark::State &state)
{
    const QStringList sentences = sixtySentences();
    qint64 bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(600);
        LabelSheet sheet(sentences, 1);
        if (!sheet.paint(pdf))
            state.SkipWithError("painting failed");
        bytes = buffer.size();
        pages = sheet.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_LabelsSixtySentencesToPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
