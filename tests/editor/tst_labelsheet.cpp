#include "editor/labelsheet.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {
// An A4 PDF with the margins of the program's print dialog.
void setUpA4(QPdfWriter &pdf)
{
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    pdf.setResolution(300);
}

QString fiftyLetters()
{
    return QStringLiteral("anticonstitutionnellementanticonstitutionnellement");
}

// Every word appears in one sentence only, and none is a word of the sheet's own texts.
QStringList sampleSentences()
{
    QStringList fifteen;
    for (int i = 1; i <= 15; ++i)
        fifteen << QStringLiteral("mot%1").arg(i);
    return {QStringLiteral("Le chat dort."),
            QStringLiteral("Papa, maman et moi allons au parc."),
            QString(), // left out
            QStringLiteral("Aujourd'hui l'école ferme à midi !"),
            fifteen.join(QLatin1Char(' ')),
            QStringLiteral("Voici ") + fiftyLetters(),
            QStringLiteral("  Bonjour   Zoé  "),
            QStringLiteral("« Viens », crie Léa.")};
}

QStringList words(const QString &sentence)
{
    return sentence.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
}

class tst_LabelSheet : public QObject
{
    Q_OBJECT
private slots:
    void shuffledWords_data();
    void shuffledWords();
    void pdfHoldsEveryWordOnceOutOfOrder();
    void boxesStayInsideThePrintableArea();
    void sentencesAreNeverCutAcrossPages();
};

void tst_LabelSheet::shuffledWords_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<bool>("canDiffer");
    QTest::newRow("two words") << "Il pleut." << true;
    QTest::newRow("repeated words") << "le chat et le chien" << true;
    QTest::newRow("fifteen words") << "a b c d e f g h i j k l m n o" << true;
    QTest::newRow("every word the same") << "non non non" << false;
    QTest::newRow("one word") << "Bonjour" << false;
    QTest::newRow("spaces around and between") << "  Le   chat  " << true;
}

void tst_LabelSheet::shuffledWords()
{
    QFETCH(QString, sentence);
    QFETCH(bool, canDiffer);
    const QStringList inOrder = words(sentence);
    QStringList sorted = inOrder;
    std::sort(sorted.begin(), sorted.end());
    for (quint32 seed = 0; seed < 300; ++seed) {
        QRandomGenerator random(seed);
        QStringList shuffled = LabelSheet::shuffledWords(sentence, random);
        if (canDiffer)
            QVERIFY2(shuffled != inOrder, qPrintable(shuffled.join('|')));
        std::sort(shuffled.begin(), shuffled.end());
        QCOMPARE(shuffled, sorted);
    }
}

void tst_LabelSheet::pdfHoldsEveryWordOnceOutOfOrder()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("etiquettes.pdf"));
    const QStringList sentences = sampleSentences();
    for (quint32 seed : {1u, 2u, 3u}) {
        {
            QPdfWriter pdf(path);
            setUpA4(pdf);
            LabelSheet sheet(sentences, seed);
            QCOMPARE(sheet.sentenceCount(), 7);
            QVERIFY(sheet.paint(pdf));
        }
        QProcess extract;
        // Text in the order it was drawn: each sentence's labels left to right.
        extract.start(pdftotext, {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                  QStringLiteral("UTF-8"), path, QStringLiteral("-")});
        QVERIFY(extract.waitForFinished(60000));
        QCOMPARE(extract.exitCode(), 0);
        const QStringList tokens = QString::fromUtf8(extract.readAllStandardOutput())
                                       .split(QRegularExpression(QStringLiteral("\\s+")),
                                             Qt::SkipEmptyParts);
        for (const QString &sentence : sentences) {
            const QStringList expected = words(sentence);
            QList<std::pair<qsizetype, QString>> found;
            for (const QString &word : expected) {
                QCOMPARE(tokens.count(word), qsizetype(1));
                found.append({tokens.indexOf(word), word});
            }
            if (expected.size() < 2)
                continue;
            std::sort(found.begin(), found.end());
            QStringList printed;
            for (const auto &f : found)
                printed << f.second;
            QVERIFY2(printed != expected, qPrintable(sentence));
        }
        QVERIFY(tokens.contains(QStringLiteral("Prénom")));
    }
}

void tst_LabelSheet::boxesStayInsideThePrintableArea()
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("etiquettes.pdf")));
    setUpA4(pdf);
    const QStringList sentences = sampleSentences();
    LabelSheet sheet(sentences, 7);
    QVERIFY(sheet.paint(pdf));
    const QRectF printable(0, 0, pdf.width(), pdf.height());
    qsizetype wordCount = 0;
    for (const QString &s : sentences)
        wordCount += words(s).size();
    QCOMPARE(sheet.boxes().size(), wordCount);
    const qreal mm = pdf.logicalDpiX() / 25.4;
    for (const LabelSheet::Box &box : sheet.boxes()) {
        QVERIFY2(printable.contains(box.rect), qPrintable(box.word));
        // Big enough to cut out and to hold.
        QVERIFY2(box.rect.height() > 8 * mm, qPrintable(box.word));
        for (const LabelSheet::Box &other : sheet.boxes()) {
            if (&other != &box && other.page == box.page)
                QVERIFY2(!other.rect.intersects(box.rect), qPrintable(box.word + other.word));
        }
    }
    // The 50-letter word has a box of its own that holds it, on the page.
    const auto longWord = std::find_if(sheet.boxes().begin(), sheet.boxes().end(),
                                       [](const LabelSheet::Box &b) { return b.word == fiftyLetters(); });
    QVERIFY(longWord != sheet.boxes().end());
    QVERIFY(longWord->rect.width() <= printable.width());
}

void tst_LabelSheet::sentencesAreNeverCutAcrossPages()
{
    QStringList sentences;
    for (int i = 0; i < 60; ++i) {
        QStringList w;
        for (int k = 0; k <= i % 15; ++k)
            w << QStringLiteral("mot%1").arg(k);
        sentences << w.join(QLatin1Char(' '));
    }
    // A sentence longer than a page's worth of labels shrinks to fit one page.
    QStringList huge;
    for (int k = 0; k < 127; ++k)
        huge << QStringLiteral("longuement%1").arg(k);
    sentences << huge.join(QLatin1Char(' '));
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("etiquettes.pdf")));
    setUpA4(pdf);
    LabelSheet sheet(sentences, 11);
    QVERIFY(sheet.paint(pdf));
    QVERIFY(sheet.pageCount() > 1);
    QMap<int, int> pageOf;
    const QRectF printable(0, 0, pdf.width(), pdf.height());
    for (const LabelSheet::Box &box : sheet.boxes()) {
        QVERIFY(printable.contains(box.rect));
        QCOMPARE(pageOf.value(box.sentence, box.page), box.page);
        pageOf[box.sentence] = box.page;
    }
    QCOMPARE(pageOf.size(), sentences.size());
    QCOMPARE(pageOf.last(), sheet.pageCount());
}

QTEST_MAIN(tst_LabelSheet)
#include "tst_labelsheet.moc"
