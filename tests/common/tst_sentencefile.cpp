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
    void encodings_data();
    void encodings();
    void listsBeyondTheCodePage_data();
    void listsBeyondTheCodePage();
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
}

void tst_SentenceFile::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("utf-8 with byte-order mark")
        << QByteArray("\xef\xbb\xbf\"\xc3\xa9t\xc3\xa9\"\r\n\"Ay\xc5\x9f" "e lit.\"\r\n")
        << QStringList{QStringLiteral("été"), QStringLiteral("Ayşe lit.")};
    QTest::newRow("utf-8 without mark, from a text editor")
        << QByteArray("Il fait 20 \xc2\xb0" "C \xe2\x86\x92 chaud \xe2\x9c\x93\nLe chat dort.\n")
        << QStringList{QStringLiteral("Il fait 20 °C → chaud ✓"), QStringLiteral("Le chat dort.")};
    QTest::newRow("byte-order mark before plain ascii")
        << QByteArray("\xef\xbb\xbf\"Le chat\"\r\n") << QStringList{QStringLiteral("Le chat")};
    QTest::newRow("utf-8 beyond the basic plane")
        << QByteArray("\"Le \xf0\x9f\x90\xb1 dort.\"\r\n") << QStringList{QStringLiteral("Le 🐱 dort.")};
    QTest::newRow("windows-1252 with accents")
        << QByteArray("\"\xab L'\xe9t\xe9 \xbb, \x9cuf \x80\"\r\n")
        << QStringList{QStringLiteral("« L'été », œuf €")};
    QTest::newRow("pure ascii") << QByteArray("\"Le chat dort.\"\r\nIl pleut\r\n")
                                << QStringList{QStringLiteral("Le chat dort."), QStringLiteral("Il pleut")};
    // Ã followed by © is valid UTF-8 on its own; the other accents are not, so the whole file
    // stays Windows-1252.
    QTest::newRow("windows-1252 with one utf-8-like pair")
        << QByteArray("\"Cr\xc3\xa9" "dit d\xe9j\xe0 pay\xe9.\"\r\n")
        << QStringList{QStringLiteral("CrÃ©dit déjà payé.")};
    QTest::newRow("truncated utf-8 sequence at the end")
        << QByteArray("\"\xc3\xa9t\xc3\xa9\"\r\n\"\xc3")
        << QStringList{QStringLiteral("Ã©tÃ©"), QStringLiteral("Ã")};
    QTest::newRow("utf-8 with mixed line ends")
        << QByteArray("\"\xc3\xa0 a\"\r\n\"b\xc3\xa8\"\n\"c\"\r\"d, e\"\n\nf")
        << QStringList{QStringLiteral("à a"), QStringLiteral("bè"), QStringLiteral("c"),
                       QStringLiteral("d, e"), QString(), QStringLiteral("f")};
}

void tst_SentenceFile::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(SentenceFile::parse(bytes), expected);
    QTemporaryDir dir;
    const QString path = dir.path() + "/list.txt";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QCOMPARE(SentenceFile::read(path).value_or(QStringList{"<unreadable>"}), expected);
    // What the editor saves of it reads back the same.
    QCOMPARE(SentenceFile::parse(SentenceFile::serialize(expected)), expected);
}

void tst_SentenceFile::listsBeyondTheCodePage_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::newRow("check mark and arrow")
        << QStringList{QStringLiteral("Il fait 20 °C → chaud ✓"), QStringLiteral("été")};
    QTest::newRow("pupils' names") << QStringList{QStringLiteral("Ayşe et Łucja jouent."), QString()};
    QTest::newRow("beyond the basic plane") << QStringList{QStringLiteral("Le 🐱 dort.")};
    // The code page holds these, but its bytes would be read as UTF-8 « été ».
    QTest::newRow("code-page bytes that look like utf-8") << QStringList{QStringLiteral("Ã©tÃ©")};
    QTest::newRow("zero-width no-break spaces")
        << QStringList{QStringLiteral("\uFEFF\uFEFF"), QStringLiteral("a\uFEFF")};
}

void tst_SentenceFile::listsBeyondTheCodePage()
{
    QFETCH(QStringList, list);
    QTemporaryDir dir;
    const QString path = dir.path() + "/list.txt";
    auto used = SentenceFile::Encoding::Cp1252;
    QVERIFY(SentenceFile::write(path, list, nullptr, &used));
    QCOMPARE(used, SentenceFile::Encoding::Utf8);
    QCOMPARE(SentenceFile::read(path).value_or(QStringList{"<unreadable>"}), list);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xef\xbb\xbf\""));
    QVERIFY(!bytes.contains('?'));
    QVERIFY(bytes.endsWith("\"\r\n"));
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
    auto used = SentenceFile::Encoding::Utf8;
    QCOMPARE(SentenceFile::serialize(list, &used), before);
    QCOMPARE(used, SentenceFile::Encoding::Cp1252);
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
