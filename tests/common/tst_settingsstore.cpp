#include "common/settingsstore.h"
#include "fakes/hostiledisk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

class tst_SettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void missingEntryGivesFallback();
    void savedTextsReadBackExactly_data();
    void savedTextsReadBackExactly();
    void saveIsOnDiskAtOnce();
    void applicationsAreSeparate();
    void refusedSaveIsReportedOnceAndKept_data();
    void refusedSaveIsReportedOnceAndKept();
    void leadingNumber_data();
    void leadingNumber();
    void strictInteger_data();
    void strictInteger();
};

void tst_SettingsStore::missingEntryGivesFallback()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path() + "/config");
    QCOMPARE(store.GetSetting(Settings::NbPhrases, QStringLiteral("5")), QStringLiteral("5"));
    QCOMPARE(store.GetSetting("Plumalin", "Démarrage", "Son", 0), QStringLiteral("0"));
    QCOMPARE(store.GetSetting("Plumalin", "Nulle part", "Rien", 5), QStringLiteral("5"));
    // Reading creates nothing, not even the store's folder.
    QVERIFY(QDir(dir.path()).isEmpty());
}

void tst_SettingsStore::savedTextsReadBackExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("digit") << "4";
    QTest::newRow("negative geometry") << "-120";
    QTest::newRow("file name") << "plumalin.txt";
    QTest::newRow("accents and blanks") << "  école élève.txt ";
    QTest::newRow("commas") << "un, deux, trois";
    QTest::newRow("at sign") << "@Variant(x)";
    QTest::newRow("empty") << "";
    QTest::newRow("semicolon and quotes") << "a;b \"c\" = d";
}

void tst_SettingsStore::savedTextsReadBackExactly()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    {
        SettingsStore store(dir.path());
        QVERIFY(store.SaveSetting(Settings::DureePhrase, value));
        QCOMPARE(store.GetSetting(Settings::DureePhrase, QStringLiteral("x")), value);
    }
    SettingsStore later(dir.path());
    QCOMPARE(later.GetSetting("Plumalin", "Démarrage", "Durée_Phrase", QStringLiteral("x")), value);
    // The accented section and key are distinct from their unaccented look-alikes.
    QCOMPARE(later.GetSetting("Plumalin", "Demarrage", "Duree_Phrase", QStringLiteral("x")),
             QStringLiteral("x"));
}

void tst_SettingsStore::saveIsOnDiskAtOnce()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QVERIFY(store.SaveSetting(Settings::Son, QStringLiteral("1")));
    QFile file(dir.path() + "/Plumalin.ini");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().isEmpty());
}

void tst_SettingsStore::applicationsAreSeparate()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QVERIFY(store.SaveSetting(Settings::SoundFolder, QStringLiteral("/tmp/sons")));
    QVERIFY(store.SaveSetting("Plumalin", "Fichier", "Son", QStringLiteral("autre")));
    QCOMPARE(store.GetSetting(Settings::SoundFolder, QString()), QStringLiteral("/tmp/sons"));
    QCOMPARE(store.GetSetting("Plumalin", "Fichier", "Son", QString()), QStringLiteral("autre"));
}

void tst_SettingsStore::refusedSaveIsReportedOnceAndKept_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");
    QTest::newRow("the store's file is a folder") << "folder" << "est un dossier";
    QTest::newRow("read-only settings folder") << "readonly" << "Permission refusée";
    QTest::newRow("full disk") << "full" << "Plus de place sur le disque";
    QTest::newRow("disk with room for the lock only") << "nearlyfull" << "";
}

// The choice stays in force for the run, the teacher hears of it once, and it reaches the disk
// with the first save that succeeds.
void tst_SettingsStore::refusedSaveIsReportedOnceAndKept()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    std::unique_ptr<SmallDisk> disk;
    QString folder = dir.path() + "/config";
    QVERIFY(QDir().mkpath(folder));
    std::function<void()> repair;
    std::optional<AsOrdinaryUser> user;
    if (how == "folder") {
        QVERIFY(QDir().mkpath(folder + "/Plumalin.ini"));
        repair = [=] { QDir(folder + "/Plumalin.ini").removeRecursively(); };
    } else if (how == "readonly") {
        const auto readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                  | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), readAndEnter | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder, readAndEnter));
        user.emplace();
        if (QFile(folder + "/essai").open(QIODevice::WriteOnly))
            QSKIP("This user may write into read-only folders");
        repair = [&user, folder, readAndEnter] {
            user.reset();
            QFile::setPermissions(folder, readAndEnter | QFile::WriteOwner | QFile::WriteOther);
        };
    } else {
        disk = std::make_unique<SmallDisk>(64 * 1024);
        if (!disk->mounted())
            QSKIP(qPrintable(disk->why()));
        folder = disk->path("config");
        QVERIFY(QDir().mkpath(folder));
        SettingsStore(folder).SaveSetting(Settings::DureePhrase, "1");
        QVERIFY(disk->fill(how == "full" ? 0 : 4096));
        repair = [&] { QFile::remove(disk->path("remplissage")); };
    }

    SettingsStore store(folder);
    QStringList reports;
    store.setFailureReport([&](const QString &message) { reports << message; });
    QVERIFY(!store.SaveSetting(Settings::Son, "1"));
    // The failed save may have freed room (an emptied file): the next one may then succeed.
    QVERIFY(!store.SaveSetting(Settings::NbPhrases, "3") || how == "nearlyfull");
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith("Les réglages n'ont pas pu être enregistrés : "),
             qPrintable(reports.first()));
    QVERIFY2(reports.first().contains(reason), qPrintable(reports.first()));
    QCOMPARE(store.GetSetting(Settings::Son, "0"), QStringLiteral("1"));
    QCOMPARE(store.GetSetting(Settings::NbPhrases, "0"), QStringLiteral("3"));

    repair();
    QVERIFY(store.SaveSetting(Settings::DureeMot, "2"));
    QCOMPARE(reports.size(), 1);
    SettingsStore later(folder);
    QCOMPARE(later.GetSetting(Settings::Son, "0"), QStringLiteral("1"));
    QCOMPARE(later.GetSetting(Settings::NbPhrases, "0"), QStringLiteral("3"));
    QCOMPARE(later.GetSetting(Settings::DureeMot, "0"), QStringLiteral("2"));
    if (disk)
        QCOMPARE(later.GetSetting(Settings::DureePhrase, "0"), QStringLiteral("1"));
}

void tst_SettingsStore::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("leading blank") << " 3" << 3.0;
    QTest::newRow("decimal") << "4.7" << 4.7;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("trailing letters") << "2x" << 2.0;
    QTest::newRow("huge") << "99999999999999999999" << 1e20;
    QTest::newRow("sign alone") << "-" << 0.0;
}

void tst_SettingsStore::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QVERIFY2(std::abs(::leadingNumber(text) - expected) <= 1e-9 * std::max(1.0, std::abs(expected)),
             qPrintable(QString::number(::leadingNumber(text))));
}

void tst_SettingsStore::strictInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("leading blank") << " 3" << true << 3;
    QTest::newRow("decimal") << "4.7" << false << 0;
    QTest::newRow("negative") << "-1" << true << -1;
    QTest::newRow("trailing letters") << "2x" << false << 0;
    QTest::newRow("huge") << "99999999999999999999" << false << 0;
    QTest::newRow("plain") << "4" << true << 4;
    QTest::newRow("blanks around") << "\t 3 \r\n" << true << 3;
    QTest::newRow("plus sign") << "+2" << true << 2;
    QTest::newRow("blank inside") << "1 2" << false << 0;
    QTest::newRow("just over an int") << "2147483648" << false << 0;
    QTest::newRow("smallest int") << "-2147483648" << true << std::numeric_limits<int>::min();
    QTest::newRow("hexadecimal") << "0x10" << false << 0;
}

void tst_SettingsStore::strictInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const auto value = ::strictInteger(text);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(*value, expected);
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
