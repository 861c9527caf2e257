// The journal's window: its layout, its buttons, its refusal to close, its place on top.
#include "fakes/fakes.h"
#include "journaltests.h"
#include "fakes/windowchecks.h"
#include "fakes/hostiledisk.h"

#include "journal/frmprogression.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

class TestFrmProgression : public QObject
{
    Q_OBJECT

private slots:
    void vider_data();
    void vider();
    void closeIsRefused();
    void quitterHidesAndKeepsTheLines();
    void layout();
    void appendingDoesNotScroll();
    void premierPlan();
    void sauvegarder();
    void sauvegarderNames_data();
    void sauvegarderNames();
    void sauvegarderCancelled();
    void sauvegarderFails_data();
    void sauvegarderFails();
    void sauvegarderOnFullDisk();
    void sauvegarderAsksBeforeReplacing_data();
    void sauvegarderAsksBeforeReplacing();
};

void TestFrmProgression::vider_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("only line 1") << 1;
    QTest::newRow("40 lines") << 40;
}

void TestFrmProgression::vider()
{
    QFETCH(int, lines);
    TestEnv env;
    for (int i = 2; i <= lines; ++i)
        env.journal.AjoutProgress(QStringLiteral("ligne %1").arg(i), i % 2 == 0);
    QCOMPARE(env.journal.Rows(), lines + 1);
    const qint64 mark = env.journal.heureProgressMs();
    env.clock.advance(600);

    frmProgression *window = env.journalWindow();
    window->show();
    QTest::mouseClick(control<QPushButton>(window, "Vider"), Qt::LeftButton);

    QCOMPARE(env.journal.Rows(), 2);
    QCOMPARE(env.journalText(1), QStringLiteral("Lancement du programme"));
    QCOMPARE(env.journalText(1, 1), JournalModel::stamp(env.clock.now()));
    QCOMPARE(env.journalText(1, 3), QString());
    QVERIFY(!isRed(env.journal.model().index(0, 2).data(Qt::ForegroundRole)));
    QCOMPARE(env.journal.heureProgressMs(), mark);
    QVERIFY(window->isVisible());

    env.journal.AjoutProgress(QStringLiteral("suite"), true);
    QCOMPARE(env.journalText(2, 0), QStringLiteral("2"));
}

void TestFrmProgression::closeIsRefused()
{
    TestEnv env;
    frmProgression *window = env.journalWindow();
    env.journal.AjoutProgress(QStringLiteral("Le"), true);

    QVERIFY(!window->close()); // hidden: stays hidden
    QVERIFY(window->isHidden());

    env.showJournal();
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(env.journalWindow(), window);
    QCOMPARE(env.journal.Rows(), 3);
    QCOMPARE(env.journalText(2), QStringLiteral("Le"));
}

void TestFrmProgression::quitterHidesAndKeepsTheLines()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.showJournal();
    frmProgression *window = env.journalWindow();
    QTest::mouseClick(control<QPushButton>(window, "Quitter"), Qt::LeftButton);
    QVERIFY(window->isHidden());
    QCOMPARE(env.journal.Rows(), 3);

    // As the main window's "Progression" command does.
    env.journal.AjoutProgress(QStringLiteral("Consultation de la progression"), true);
    env.showJournal();
    QVERIFY(window->isVisible());
    QCOMPARE(env.journal.Rows(), 4);
    QCOMPARE(env.journalText(2), QStringLiteral("Le"));
    QCOMPARE(env.lastJournalText(), QStringLiteral("Consultation de la progression"));
}

void TestFrmProgression::layout()
{
    TestEnv env;
    frmProgression *w = env.journalWindow();
    env.journal.AjoutProgress(QStringLiteral("Consultation de la progression"), true);
    QCOMPARE(w->windowTitle(), QStringLiteral("Progression de l'exercice ..."));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);

    QCOMPARE(control<QLabel>(w, "Label1")->text(), QStringLiteral("Progression de..."));
    QVERIFY(control<QLabel>(w, "Label1")->font().bold());
    QCOMPARE(control<QCheckBox>(w, "PremierPlan")->text(),
             QStringLiteral("Fenêtre de progression en premier plan"));
    QVERIFY(!control<QCheckBox>(w, "PremierPlan")->isChecked());
    QCOMPARE(control<QPushButton>(w, "Vider")->text(), QStringLiteral("&Vider"));
    QCOMPARE(control<QPushButton>(w, "Sauvegarder")->text(), QStringLiteral("&Sauvegarder"));
    QCOMPARE(control<QPushButton>(w, "Quitter")->text(), QStringLiteral("&Quitter"));

    const QStringList names{"Label1", "MSFlexGrid1", "PremierPlan",
                            "Vider",  "Sauvegarder", "Quitter"};
    QCOMPARE(WindowChecks::outside(w, names), QStringList());
    QCOMPARE(WindowChecks::overlaps(w, names), QStringList());
    QCOMPARE(WindowChecks::textsCut(w, names), QStringList());

    // The four columns fit the grid side by side, each header and each stamp whole.
    QTableView *grid = control<QTableView>(w, "MSFlexGrid1");
    const QStringList headers{QStringLiteral("N°"), QStringLiteral("Date"),
                              QStringLiteral("Progression de l'exercice"), QStringLiteral("Durée")};
    QCOMPARE(grid->model()->columnCount(), 4);
    int widths = 0;
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        QVERIFY(grid->horizontalHeader()->fontMetrics().horizontalAdvance(headers[column])
                < grid->columnWidth(column));
        widths += grid->columnWidth(column);
    }
    QVERIFY(widths <= grid->width());
    QVERIFY(widths >= grid->viewport()->width() - grid->verticalScrollBar()->sizeHint().width());
    QStyleOptionViewItem option;
    option.initFrom(grid);
    const QModelIndex stamp = grid->model()->index(1, 1);
    QVERIFY(grid->itemDelegateForColumn(1)->sizeHint(option, stamp).width()
            <= grid->columnWidth(1));
    QVERIFY(grid->horizontalHeader()->isVisibleTo(w));
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(3), QHeaderView::Fixed);
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 2)) & Qt::ItemIsEditable));
    QCOMPARE(grid->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(grid->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignLeft | Qt::AlignVCenter);

    QCOMPARE(WindowChecks::objectNames(WindowChecks::tabChain(control(w, "Quitter"))),
             (QStringList{"Quitter", "Sauvegarder", "Vider", "MSFlexGrid1", "PremierPlan"}));
}

void TestFrmProgression::appendingDoesNotScroll()
{
    TestEnv env;
    env.showJournal();
    QTableView *grid = control<QTableView>(env.journalWindow(), "MSFlexGrid1");
    for (int i = 0; i < 100; ++i)
        env.journal.AjoutProgress(QStringLiteral("ligne %1").arg(i), true);
    QCoreApplication::processEvents();
    QCOMPARE(grid->verticalScrollBar()->value(), 0);

    grid->verticalScrollBar()->setValue(20);
    const QModelIndex current = grid->currentIndex();
    for (int i = 0; i < 50; ++i)
        env.journal.AjoutProgress(QStringLiteral("encore une ligne plus longue que la colonne, "
                                                 "bien plus longue, vraiment %1")
                                      .arg(i),
                                  false);
    QCoreApplication::processEvents();
    QCOMPARE(grid->verticalScrollBar()->value(), 20);
    QCOMPARE(grid->currentIndex(), current);
    QCOMPARE(grid->rowHeight(env.journal.Rows() - 2), grid->rowHeight(0));
}

void TestFrmProgression::premierPlan()
{
    TestEnv env;
    frmProgression *w = env.journalWindow();

    control<QCheckBox>(w, "PremierPlan")->setChecked(true); // while hidden: stays hidden
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w->isHidden());
    control<QCheckBox>(w, "PremierPlan")->setChecked(false);
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));

    env.showJournal();
    const QPoint where = w->pos();
    QTest::mouseClick(control<QCheckBox>(w, "PremierPlan"), Qt::LeftButton);
    QVERIFY(control<QCheckBox>(w, "PremierPlan")->isChecked());
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w->isVisible());
    QCOMPARE(w->pos(), where);
    QTest::mouseClick(control<QCheckBox>(w, "PremierPlan"), Qt::LeftButton);
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w->isVisible());
    QCOMPARE(env.journal.Rows(), 2);
}

void TestFrmProgression::sauvegarder()
{
    TestEnv env;
    env.journal.MarqueHeureProgress();
    env.clock.advance(90);
    env.journal.AjoutProgress(QStringLiteral("Le chat; dort"), true);
    env.journal.AjoutProgress(QStringLiteral("Il a dit \"bonjour\""), false);
    env.journal.SetProgress(QStringLiteral("deux\r\nlignes\tet une tabulation"), QString(), true);
    env.journal.AjoutProgress(QStringLiteral("Déplacement du mot 'été'."), true);
    const int rows = env.journal.Rows();

    const QString path = env.dir.filePath(QStringLiteral("journal.csv"));
    env.files.answers << path;
    frmProgression *w = env.journalWindow();
    w->show();
    QTest::mouseClick(control<QPushButton>(w, "Sauvegarder"), Qt::LeftButton);

    QCOMPARE(env.files.requests.size(), 1);
    QVERIFY(env.files.requests.first().filters.first().contains(QStringLiteral("*.csv")));
    QVERIFY(env.messages.shown.isEmpty());
    QCOMPARE(env.journal.Rows(), rows); // saving writes no journal line

    const QByteArray bytes = readFile(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QStringList> csv = parseCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(csv.size(), rows);
    QCOMPARE(csv.first(), (QStringList{QStringLiteral("N°"), QStringLiteral("Date"),
                                       QStringLiteral("Progression de l'exercice"),
                                       QStringLiteral("Durée")}));
    const JournalModel &model = env.journal.model();
    for (int line = 0; line < model.rowCount(); ++line) {
        const QStringList expected{QString::number(line + 1), model.cellText(line, 1),
                                   model.lines()[std::size_t(line)].text, model.cellText(line, 3)};
        QCOMPARE(csv.at(line + 1), expected);
    }
    QCOMPARE(csv.at(2).at(2), QStringLiteral("Le chat; dort"));
    QCOMPARE(csv.at(2).at(3), QStringLiteral("00:01:30"));
    QCOMPARE(csv.at(4).at(2), QStringLiteral("deux\r\nlignes\tet une tabulation"));
}

void TestFrmProgression::sauvegarderNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("with .csv") << QStringLiteral("a.csv") << QStringLiteral("a.csv");
    QTest::newRow("other extension kept") << QStringLiteral("a.txt") << QStringLiteral("a.txt");
    QTest::newRow("no extension: .csv added") << QStringLiteral("export") << QStringLiteral("export.csv");
}

void TestFrmProgression::sauvegarderNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    TestEnv env;
    env.files.answers << env.dir.filePath(chosen);
    QVERIFY(env.journalWindow()->Sauvegarder_Click());
    QVERIFY(QFileInfo(env.dir.filePath(written)).isFile());
    // The proposed name carries the day's date.
    QCOMPARE(QFileInfo(env.files.requests.first().initialPath).fileName(),
             QStringLiteral("journal-2001-10-15.csv"));
}

void TestFrmProgression::sauvegarderCancelled()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    QVERIFY(!env.journalWindow()->Sauvegarder_Click());
    QCOMPARE(env.files.requests.size(), 1);
    QVERIFY(env.messages.shown.isEmpty());
    QCOMPARE(env.journal.Rows(), 3);
}

void TestFrmProgression::sauvegarderFails_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << QStringLiteral("absent/journal.csv");
    QTest::newRow("a folder") << QStringLiteral("bin");
}

void TestFrmProgression::sauvegarderFails()
{
    QFETCH(QString, target);
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), false);
    env.files.answers << env.dir.filePath(target);

    QVERIFY(!env.journalWindow()->Sauvegarder_Click());
    QCOMPARE(env.messages.shown.size(), 1);
    QCOMPARE(env.messages.shown.first().icon, MessageBoxes::Warning);
    QVERIFY(env.messages.shown.first().text.contains(QStringLiteral("n'a pas pu être enregistrée")));
    QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("absent"))));
    QCOMPARE(env.journal.Rows(), 4);
    QCOMPARE(env.lastJournalText(), QStringLiteral("Le chat"));
}

void TestFrmProgression::sauvegarderAsksBeforeReplacing_data()
{
    QTest::addColumn<MessageBoxes::Button>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << MessageBoxes::Yes << true;
    QTest::newRow("no") << MessageBoxes::No << false;
}

void TestFrmProgression::sauvegarderAsksBeforeReplacing()
{
    QFETCH(MessageBoxes::Button, answer);
    QFETCH(bool, replaced);
    TestEnv env;
    const QString path = env.dir.filePath(QStringLiteral("journal.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
    }
    env.files.answers << path;
    env.messages.answers.push_back(answer);

    QCOMPARE(env.journalWindow()->Sauvegarder_Click(), replaced);
    QCOMPARE(env.messages.shown.size(), 1);
    QCOMPARE(env.messages.shown.first().defaultButton, MessageBoxes::No);
    QCOMPARE(readFile(path) == "ancien", !replaced);
}

// An earlier export on a disk that has filled up since: the old file stays whole, the failure
// is told with the system's reason.
void TestFrmProgression::sauvegarderOnFullDisk()
{
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.why()));
    TestEnv env;
    for (int i = 0; i < 50; ++i)
        env.journal.AjoutProgress(QStringLiteral("Le chat dort sur le lit %1").arg(i), true);
    const QString path = disk.path(QStringLiteral("journal.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien");
    }
    QVERIFY(disk.fill(0));
    env.files.answers << path;
    env.messages.answers.push_back(MessageBoxes::Yes);

    QVERIFY(!env.journalWindow()->Sauvegarder_Click());
    QCOMPARE(env.messages.shown.size(), 2);
    QVERIFY2(env.messages.shown.last().text.contains(QStringLiteral("Plus de place sur le disque")),
             qPrintable(env.messages.shown.last().text));
    QCOMPARE(readFile(path), QByteArray("ancien"));
}

QTEST_MAIN(TestFrmProgression)
#include "tst_frmprogression.moc"
