// The sentence lists shipped beside the program: one per class level, each sentence playable,
// in the code page and the editor's own format, within its level's lengths, none twice.
#include "common/sentencefile.h"
#include "exercise/sentencelist.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtTest>

namespace {
const QString Resources = QStringLiteral(PLUMALIN_RESOURCES);

QByteArray bytesOf(const QString &name)
{
    QFile file(Resources + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Words as the exercise cuts them: at each space, the blank last entry left out.
int wordCount(const QString &sentence)
{
    return int(splitWords(sentence).size() - 1);
}
}

class tst_ShippedLists : public QObject
{
    Q_OBJECT
private slots:
    void level_data();
    void level();
    void noSentenceTwiceAcrossLists();
};

void tst_ShippedLists::level_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fewest");
    QTest::addColumn<int>("most");
    QTest::newRow("CP") << "1 - CP - phrases courtes.txt" << 3 << 6;
    QTest::newRow("CE1") << "2 - CE1 - phrases simples.txt" << 4 << 8;
    QTest::newRow("CE2") << "3 - CE2 - phrases moyennes.txt" << 5 << 10;
    QTest::newRow("CM1") << "4 - CM1 - phrases longues.txt" << 7 << 12;
    QTest::newRow("CM2") << "5 - CM2 - phrases complexes.txt" << 9 << 15;
}

void tst_ShippedLists::level()
{
    QFETCH(QString, name);
    QFETCH(int, fewest);
    QFETCH(int, most);
    const QByteArray bytes = bytesOf(name);
    QVERIFY2(!bytes.isEmpty(), qPrintable(name));
    QCOMPARE(SentenceFile::detect(bytes), SentenceFile::Encoding::Cp1252);
    const QStringList sentences = SentenceFile::parse(bytes);
    QVERIFY(sentences.size() >= 60);
    // Exactly what the editor would save: code page, quotes, CR LF, nothing else.
    auto encoding = SentenceFile::Encoding::Utf8;
    QCOMPARE(SentenceFile::serialize(sentences, &encoding), bytes);
    QCOMPARE(encoding, SentenceFile::Encoding::Cp1252);

    QSet<QString> seen;
    for (const QString &sentence : sentences) {
        const char *what = qPrintable(sentence);
        QVERIFY2(isPlayable(sentence), what);
        QVERIFY2(wordCount(sentence) >= fewest && wordCount(sentence) <= most, what);
        QVERIFY2(!seen.contains(sentence), what);
        seen.insert(sentence);
        QVERIFY2(sentence.front().isUpper() || sentence.startsWith(QChar(0x00AB)), what);
        QVERIFY2(QStringLiteral(".!?").contains(sentence.back()), what);
        QVERIFY2(!sentence.contains(QLatin1Char('"')), what);
        // Every tile carries a word: a mark such as « ? » sits on its word through a no-break
        // space, never alone on a tile.
        for (const QString &word : sentence.split(QLatin1Char(' '))) {
            QVERIFY2(std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); }),
                     what);
        }
    }
}

void tst_ShippedLists::noSentenceTwiceAcrossLists()
{
    QSet<QString> seen;
    const QStringList names = QDir(Resources).entryList({QStringLiteral("*.txt")}, QDir::Files);
    QCOMPARE(names.size(), 6); // the default list and the five levels
    for (const QString &name : names) {
        for (const QString &sentence : SentenceFile::parse(bytesOf(name))) {
            QVERIFY2(!seen.contains(sentence), qPrintable(name + ": " + sentence));
            seen.insert(sentence);
        }
    }
}

QTEST_APPLESS_MAIN(tst_ShippedLists)
#include "tst_shippedlists.moc"
