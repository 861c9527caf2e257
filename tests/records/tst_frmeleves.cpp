// "Élèves", opened from "Bilan des élèves": a pupil renamed (two spellings made one) and a
// pupil's data deleted, asked and told through the message boxes; the summary shows the change.
#include "classrecords.h"

#include "fakes/fakes.h"
#include "fakes/windowchecks.h"
#include "records/frmbilan.h"
#include "records/frmeleves.h"

#include <QComboBox>
#include <QInputDialog>
#include <QPushButton>
#include <QtTest>

namespace {
struct Fixture {
    TestEnv env;
    std::unique_ptr<frmBilan> summary;
    frmEleves *pupils = nullptr;

    Fixture()
    {
        env.clock.current = QDateTime(QDate(2026, 12, 10), QTime(16, 0));
        ClassRecords records{env.records};
        records.exercise(QStringLiteral("Lea"), QDateTime(QDate(2026, 12, 8), QTime(9, 0)), 12);
        records.exercise(QStringLiteral("Léa"), QDateTime(QDate(2026, 12, 9), QTime(9, 0)), 14);
        records.exercise(QStringLiteral("Tom"), QDateTime(QDate(2026, 12, 9), QTime(10, 0)), 18, 2);
        records.exercise(QStringLiteral("Léa"), QDateTime(QDate(2026, 12, 10), QTime(9, 0)), 16);
        env.records.setPupil(QStringLiteral("Lea"));
        summary = std::make_unique<frmBilan>(env.records, env.settings, env.clock, env.files,
                                             env.messages, env.printing);
        summary->show();
        read();
        QTest::mouseClick(control<QPushButton>(summary, "Eleves"), Qt::LeftButton);
        pupils = summary->findChild<frmEleves *>();
    }
    // The summary reads the records away from its window: its lists are filled once it is done.
    void read() { QVERIFY(QTest::qWaitFor([this] { return !summary->isReading(); }, 10000)); }
    QStringList summaryPupils()
    {
        read();
        auto *filter = control<QComboBox>(summary, "filtreEleve");
        QStringList names;
        for (int i = 1; i < filter->count(); ++i)
            names << filter->itemText(i);
        return names;
    }
    // "Renommer…" clicked and the new name typed into the question that follows.
    void rename(const QString &from, const QString &to)
    {
        QVERIFY(pupils->choosePupil(from));
        QTest::mouseClick(control<QPushButton>(pupils, "Renommer"), Qt::LeftButton);
        QInputDialog *ask = nullptr;
        for (QInputDialog *shown : pupils->findChildren<QInputDialog *>(QStringLiteral("nouveauNom"))) {
            if (shown->isVisible())
                ask = shown;
        }
        QVERIFY(ask);
        QCOMPARE(ask->labelText(), QStringLiteral("Nouveau nom de « %1 » :").arg(from));
        ask->setTextValue(to);
        ask->accept();
    }
    // Every record file's bytes, one after the other.
    QByteArray recordBytes()
    {
        QByteArray bytes;
        const QDir folder(env.records.folder());
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll();
        }
        return bytes;
    }
};
}

class TestFrmEleves : public QObject
{
    Q_OBJECT
private slots:
    void renameMergesTwoSpellings();
    void deletionAsksThenTells();
    void fileLeftAsItWasIsNamed();
    void fitsAt640x480();
};

void TestFrmEleves::renameMergesTwoSpellings()
{
    Fixture f;
    QVERIFY(f.pupils && f.pupils->isVisible());
    QCOMPARE(f.pupils->pupils(), (QStringList{QStringLiteral("Lea"), QStringLiteral("Léa"), QStringLiteral("Tom")}));
    QCOMPARE(f.summaryPupils(), f.pupils->pupils());

    // Asked first, since both names are pupils; "Non" changes nothing.
    const QByteArray before = f.recordBytes();
    QVERIFY(before.contains(";Lea;"));
    f.env.messages.answers = {MessageBoxes::No};
    f.rename(QStringLiteral("Lea"), QStringLiteral(" Léa "));
    QCOMPARE(f.env.messages.shown.size(), 1);
    QCOMPARE(f.env.messages.shown.at(0).icon, MessageBoxes::Question);
    QCOMPARE(f.env.messages.shown.at(0).defaultButton, MessageBoxes::No);
    QCOMPARE(f.env.messages.shown.at(0).text,
             QStringLiteral("« Léa » est déjà un élève des journaux. Les 4 lignes de « Lea » passeront à "
                            "« Léa » : les deux noms ne feront plus qu'un élève.\n\nRéunir « Lea » et « Léa » ?"));
    QCOMPARE(f.recordBytes(), before);

    f.env.messages.answers = {MessageBoxes::Yes};
    f.rename(QStringLiteral("Lea"), QStringLiteral("Léa"));
    QCOMPARE(f.env.messages.shown.size(), 3);
    QCOMPARE(f.env.messages.shown.at(2).icon, MessageBoxes::Information);
    QCOMPARE(f.env.messages.shown.at(2).text,
             QStringLiteral("« Lea » et « Léa » ne font plus qu'un élève, « Léa » : 4 lignes renommées dans 1 fichier."));
    const QStringList merged{QStringLiteral("Léa"), QStringLiteral("Tom")};
    QCOMPARE(f.pupils->pupils(), merged);
    QCOMPARE(f.summaryPupils(), merged);
    // The pupil at the computer goes on under the name kept.
    QCOMPARE(f.env.records.pupil(), QStringLiteral("Léa"));

    // A new name that no pupil has: told, not asked.
    f.rename(QStringLiteral("Tom"), QStringLiteral("Thomas"));
    QCOMPARE(f.env.messages.shown.size(), 4);
    QCOMPARE(f.env.messages.shown.at(3).text,
             QStringLiteral("« Tom » s'appelle maintenant « Thomas » : 6 lignes renommées dans 1 fichier."));
    QCOMPARE(f.summaryPupils(), (QStringList{QStringLiteral("Léa"), QStringLiteral("Thomas")}));
}

void TestFrmEleves::deletionAsksThenTells()
{
    Fixture f;
    QVERIFY(f.pupils->choosePupil(QStringLiteral("Tom")));
    auto *remove = control<QPushButton>(f.pupils, "Supprimer");
    const QByteArray before = f.recordBytes();
    // Closing the question is "Non".
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(f.env.messages.shown.size(), 1);
    QCOMPARE(f.env.messages.shown.at(0).defaultButton, MessageBoxes::No);
    QCOMPARE(f.env.messages.shown.at(0).text,
             QStringLiteral("Supprimer les données de « Tom » ?\n\nSes 6 lignes seront effacées de tous les "
                            "journaux du dossier. Ses exercices ne seront plus dans le bilan, et cela ne "
                            "peut pas être annulé."));
    QCOMPARE(f.recordBytes(), before);

    f.env.messages.answers = {MessageBoxes::Yes};
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(f.env.messages.shown.size(), 3);
    QCOMPARE(f.env.messages.shown.at(2).text,
             QStringLiteral("Les données de « Tom » ont été supprimées : 6 lignes retirées de 1 fichier."));
    QCOMPARE(f.pupils->pupils(), (QStringList{QStringLiteral("Lea"), QStringLiteral("Léa")}));
    QCOMPARE(f.summaryPupils(), f.pupils->pupils());
    QVERIFY(before.contains(";Tom;"));
    QVERIFY(!f.recordBytes().contains("Tom"));
    // Nobody chosen any more: nothing to rename or delete.
    QVERIFY(!remove->isEnabled());
    QVERIFY(!control<QPushButton>(f.pupils, "Renommer")->isEnabled());
}

// A file that cannot be rewritten is named in the warning; the others are done.
void TestFrmEleves::fileLeftAsItWasIsNamed()
{
    Fixture f;
    const QString locked = QDir(f.env.records.folder()).filePath(QStringLiteral("journal-2026-11-02-salle2.csv"));
    QVERIFY(QFile::copy(QDir(f.env.records.folder()).filePath(QStringLiteral("journal-2026-12-09-salle1.csv")), locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
    f.pupils->Actualiser();
    QVERIFY(f.pupils->choosePupil(QStringLiteral("Tom")));
    f.env.messages.answers = {MessageBoxes::Yes};
    QVERIFY(f.pupils->Supprimer_Click());
    QVERIFY(f.env.messages.shown.at(0).text.contains(QStringLiteral("Ses 12 lignes")));
    QCOMPARE(f.env.messages.shown.at(1).icon, MessageBoxes::Warning);
    QCOMPARE(f.env.messages.shown.at(1).text,
             QStringLiteral("Les données de « Tom » ont été supprimées : 6 lignes retirées de 1 fichier.\n\n"
                            "Les lignes de l'élève restent dans ces fichiers :\n"
                            "• « journal-2026-11-02-salle2.csv » est en lecture seule : il n'a pas été modifié."));
    QCOMPARE(f.pupils->pupils().last(), QStringLiteral("Tom"));
}

void TestFrmEleves::fitsAt640x480()
{
    Fixture f;
    f.summary->resize(640, 480);
    f.pupils->resize(640, 480);
    QCoreApplication::processEvents();
    QVERIFY(f.pupils->width() <= 640 && f.pupils->height() <= 480);
    const QStringList names{QStringLiteral("listeEleves"), QStringLiteral("Renommer"),
                            QStringLiteral("Supprimer"), QStringLiteral("Fermer")};
    QCOMPARE(WindowChecks::outside(f.pupils, names), QStringList());
    QCOMPARE(WindowChecks::overlaps(f.pupils, names), QStringList());
    QCOMPARE(WindowChecks::textsCut(f.pupils, names), QStringList());
    // The summary's two buttons for them, whole, and the summary still 640 wide.
    QVERIFY(f.summary->width() <= 640);
    const QStringList buttons{QStringLiteral("Eleves"), QStringLiteral("Imprimer")};
    QCOMPARE(WindowChecks::outside(f.summary.get(), buttons), QStringList());
    QCOMPARE(WindowChecks::textsCut(f.summary.get(), buttons), QStringList());
}

QTEST_MAIN(TestFrmEleves)
#include "tst_frmeleves.moc"
