// Writes the word labels of a sentence file to an A4 PDF, as the editor prints them: the source
// of docs/etiquettes.png (labels_pdf resources/plumalin.txt out.pdf, then pdftoppm).
#include "common/sentencefile.h"
#include "editor/labelsheet.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: labels_pdf phrases.txt sortie.pdf [premières phrases]\n");
        return 2;
    }
    std::optional<QStringList> sentences = SentenceFile::read(QString::fromLocal8Bit(argv[1]));
    if (!sentences)
        return 1;
    if (argc > 3)
        *sentences = sentences->mid(0, QByteArray(argv[3]).toInt());
    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    pdf.setResolution(300);
    LabelSheet sheet(*sentences, 20261210);
    return sheet.paint(pdf) ? 0 : 1;
}
