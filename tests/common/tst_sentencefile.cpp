#include "common/cp1252.h"
#include "common/sentencefile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class tst_SentenceFile : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void everyByteRoundTrips();
    void writtenBytes();
    void fittingListSavesAsBefore();
    void randomListsSurviveWriteThenRead();
    void unreadablePathsGiveNothing();
    void failedWriteKeepsEarlierFile();
    void badInputNeverHangs();
};

void tst_SentenceFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("editor file with comma")
        << QByteArray("\"Le chat dort.\"\r\n\"Il pleut, il mouille.\"\r\n")
        << QStringList{"Le chat dort.", "Il pleut, il mouille."};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("unquoted commas split")
        << QByteArray("Le loup, la ch\xe8vre et le chou\r\n")
        << QStringList{"Le loup", "la chèvre et le chou"};
    QTest::newRow("blank line in the middle")
        << QByteArray("\"a\"\r\n\r\n\"b\"\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("blank line at the end")
        << QByteArray("\"a\"\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("no final line end") << QByteArray("\"a\"\r\n\"b\"") << QStringList{"a", "b"};
    QTest::newRow("spaces inside quotes kept")
        << QByteArray("  \" a b \"\r\n") << QStringList{" a b "};
    QTest::newRow("one empty sentence") << QByteArray("\"\"\r\n") << QStringList{""};
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n") << QStringList{"", "", ""};
    QTest::newRow("lone LF and lone CR")
        << QByteArray("\"a\"\n\"b\"\r\"c\"") << QStringList{"a", "b", "c"};
    QTest::newRow("unquoted trailing spaces trimmed, tabs kept")
        << QByteArray("abc   \r\n\tx\t\r\n") << QStringList{"abc", "\tx\t"};
    QTest::newRow("embedded quote reads back")
        << QByteArray("\"Il dit \"oui\" ce soir\"\r\n") << QStringList{"Il dit \"oui\" ce soir"};
    QTest::newRow("two quoted records on a line")
        << QByteArray("\"Le loup\",\"la ch\xe8vre\"\r\n") << QStringList{"Le loup", "la chèvre"};
    QTest::newRow("closing quote then spaces")
        << QByteArray("\"a\"   ,\"b\"  \r\n") << QStringList{"a", "b"};
    QTest::newRow("unclosed quote ends at line end")
        << QByteArray("\"abc\r\n\"d\"\r\n") << QStringList{"abc", "d"};
    QTest::newRow("unclosed quote at end of file") << QByteArray("\"abc") << QStringList{"abc"};
    QTest::newRow("comma at once") << QByteArray(",x") << QStringList{"", "x"};
    QTest::newRow("utf-8 read byte by byte")
        << QByteArray("\"\xc3\xa9\"\r\n") << QStringList{QString::fromUtf8("\xc3\x83\xc2\xa9")};
}

void tst_SentenceFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(SentenceFile::parse(bytes), expected);
}

void tst_SentenceFile::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1252::encode(text), all);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x81), QChar(0x81));
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    QCOMPARE(Cp1252::encode(QStringLiteral("œ€😀")), QByteArray("\x9c\x80?"));
}

void tst_SentenceFile::writtenBytes()
{
    QCOMPARE(SentenceFile::serialize({"  Le chat dort.  ", "", QStringLiteral("été")}),
             QByteArray("\"Le chat dort.\"\r\n\"\"\r\n\"\xe9t\xe9\"\r\n"));
}

void tst_SentenceFile::fittingListSavesAsBefore()
{
    // Bytes taken from the writer before it learnt UTF-8: a list the code page holds is saved
    // exactly as it always was.
    const QStringList list{QStringLiteral("  « Bonjour ! » dit l’élève.  "), QString(),
                           QStringLiteral("Le cœur, l’Œuf et 5 € … – ça va ?"),
                           QStringLiteral("Où est ma trousse ?")};
    const QByteArray before("\"\xab Bonjour ! \xbb dit l\x92\xe9l\xe8ve.\"\r\n\"\"\r\n"
                            "\"Le c\x9cur, l\x92\x8cuf et 5 \x80 \x85 \x96 \xe7" "a va ?\"\r\n"
                            "\"O\xf9 est ma trousse ?\"\r\n");
    QCOMPARE(SentenceFile::serialize(list), before);
    QTemporaryDir dir;
    const QString path = dir.path() + "/list.txt";
    QVERIFY(SentenceFile::write(path, list));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void tst_SentenceFile::randomListsSurviveWriteThenRead()
{
    // Any sentences without quote or line-end characters come back as written, once trimmed.
    QString alphabet;
    for (int b = 0; b < 256; ++b) {
        if (b != '"' && b != '\r' && b != '\n')
            alphabet.append(Cp1252::decode(QByteArray(1, static_cast<char>(b))));
    }
    alphabet += QStringLiteral("     ,,,");
    QRandomGenerator random(20261210);
    QTemporaryDir dir;
    const QString path = dir.path() + "/list.txt";
    for (int round = 0; round < 200; ++round) {
        QStringList sentences;
        const int count = random.bounded(0, 12);
        for (int i = 0; i < count; ++i) {
            QString s;
            const int length = random.bounded(0, 40);
            for (int k = 0; k < length; ++k)
                s.append(alphabet.at(random.bounded(alphabet.size())));
            sentences.append(s);
        }
        QVERIFY(SentenceFile::write(path, sentences));
        QStringList expected;
        for (const QString &s : sentences)
            expected.append(SentenceFile::trimSpaces(s));
        QCOMPARE(SentenceFile::read(path).value_or(QStringList{"<unreadable>"}), expected);
    }
}

void tst_SentenceFile::unreadablePathsGiveNothing()
{
    QTemporaryDir dir;
    QVERIFY(!SentenceFile::read(dir.path() + "/absent.txt"));
    QVERIFY(!SentenceFile::read(dir.path()));
    QVERIFY(!SentenceFile::read(QString()));
}

void tst_SentenceFile::failedWriteKeepsEarlierFile()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/list.txt";
    QVERIFY(SentenceFile::write(path, {"un", "deux"}));
    QString error;
    QVERIFY(!SentenceFile::write(dir.path(), {"x"}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!SentenceFile::write(dir.path() + "/absent/list.txt", {"x"}, &error));
    QCOMPARE(SentenceFile::read(path).value(), (QStringList{"un", "deux"}));
}

void tst_SentenceFile::badInputNeverHangs()
{
    QByteArray line(10 * 1024 * 1024, 'a');
    QCOMPARE(SentenceFile::parse(line).size(), 1);
    // Many records on one long line, and old-style CR-only line ends, stay linear.
    QCOMPARE(SentenceFile::parse(QByteArray("mot,").repeated(1'000'000)).size(), 1'000'000);
    QCOMPARE(SentenceFile::parse(QByteArray("\"a\"\r").repeated(500'000)).size(), 500'000);
    QByteArray garbage(100000, '\0');
    QRandomGenerator random(7);
    for (char &c : garbage)
        c = static_cast<char>(random.bounded(256));
    const QStringList list = SentenceFile::parse(garbage);
    QVERIFY(!list.isEmpty());
    QCOMPARE(SentenceFile::parse(garbage, 3).size(), 3);
}

QTEST_GUILESS_MAIN(tst_SentenceFile)
#include "tst_sentencefile.moc"
