// The progress journal through its operations and its window, with an injected clock.
#include "fakes/fakes.h"
#include "journal/frmprogression.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {
// Reads back what a spreadsheet would: ';' between fields, quoted fields with doubled quotes.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool isRed(const QVariant &foreground)
{
    return foreground.canConvert<QBrush>() && foreground.value<QBrush>().color() == QColor(255, 0, 0);
}

// Widgets reached by the Tab key from `first`, in order, until the chain comes back to it.
QList<QWidget *> tabChain(QWidget *first)
{
    QList<QWidget *> chain{first};
    for (QWidget *w = first->nextInFocusChain(); w && w != first; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(first->window())
            && w->window() == first->window() && w != first->window())
            chain << w;
    }
    return chain;
}
}

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void createdHiddenOnFirstUse();
    void durations_data();
    void durations();
    void setProgressNeitherReadsNorMovesTheMark();
    void redLines();
    void textsStayInTheirCells();
    void stamp_data();
    void stamp();
    void stampOfALine();
    void vider_data();
    void vider();
    void closeIsRefused();
    void quitterHidesAndKeepsTheLines();
    void closedByTheProgram();
    void layout();
    void appendingDoesNotScroll();
    void premierPlan();
    void sauvegarder();
    void sauvegarderNames_data();
    void sauvegarderNames();
    void sauvegarderCancelled();
    void sauvegarderFails_data();
    void sauvegarderFails();
    void sauvegarderAsksBeforeReplacing_data();
    void sauvegarderAsksBeforeReplacing();
};

void TestJournal::createdHiddenOnFirstUse()
{
    TestEnv env;
    QVERIFY(!env.journal.exists());
    env.clock.advance(60); // line 1 carries the time of the first use, not of the start
    QCOMPARE(env.journal.Rows(), 2);
    QVERIFY(env.journal.exists());
    QVERIFY(env.journal.window()->isHidden());
    QCOMPARE(env.journalText(1, 0), QStringLiteral("1"));
    QCOMPARE(env.journalText(1, 1), JournalModel::stamp(env.clock.now()));
    QCOMPARE(env.journalText(1), QStringLiteral("Lancement du programme"));
    QCOMPARE(env.journalText(1, 3), QString());
    QVERIFY(!env.state.HeureProgress.isValid());

    env.journal.AjoutProgress(QStringLiteral("Debut de l'exercice."), true);
    QCOMPARE(env.journal.Rows(), 3);
    QCOMPARE(env.journalText(2, 0), QStringLiteral("2"));
    QVERIFY(env.journal.window()->isHidden());
}

void TestJournal::durations_data()
{
    QTest::addColumn<bool>("markSet");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("duration");

    QTest::newRow("no mark yet: empty") << false << 0 << QString();
    QTest::newRow("90 seconds") << true << 90 << QStringLiteral("00:01:30");
    QTest::newRow("same second") << true << 0 << QStringLiteral("00:00:00");
    QTest::newRow("23:59:59") << true << 86399 << QStringLiteral("23:59:59");
    QTest::newRow("25 hours drop the day") << true << 25 * 3600 << QStringLiteral("01:00:00");
    QTest::newRow("clock set back") << true << -30 << QStringLiteral("00:00:00");
}

void TestJournal::durations()
{
    QFETCH(bool, markSet);
    QFETCH(int, seconds);
    QFETCH(QString, duration);

    TestEnv env;
    if (markSet)
        env.state.HeureProgress = env.clock.now(); // as a sentence start sets it
    env.clock.advance(seconds);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);
    QCOMPARE(env.journalText(2, 3), duration);
    QCOMPARE(env.state.HeureProgress, env.clock.now());
}

void TestJournal::setProgressNeitherReadsNorMovesTheMark()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    const QDateTime mark = env.state.HeureProgress;
    env.clock.advance(30);
    env.journal.SetProgress(QStringLiteral("L'élève a fait une erreur."), QString(), true);
    QCOMPARE(env.state.HeureProgress, mark);
    env.journal.SetProgress(QStringLiteral("autre"), QStringLiteral("à la main"), false);
    env.clock.advance(60);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);

    QCOMPARE(env.journal.Rows(), 6);
    QCOMPARE(env.journalText(3), QStringLiteral("L'élève a fait une erreur."));
    QCOMPARE(env.journalText(3, 3), QString());
    QCOMPARE(env.journalText(4, 3), QStringLiteral("à la main"));
    QCOMPARE(env.journalText(5, 0), QStringLiteral("5"));
    QCOMPARE(env.journalText(5, 3), QStringLiteral("00:01:30"));
}

void TestJournal::redLines()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le chien"), false);
    env.journal.SetProgress(QStringLiteral("Le mot bleu est 'chat'."), QString(), false);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), true);
    JournalModel &model = env.journal.model();
    for (int row : {1, 2}) {
        QVERIFY(!isRed(model.index(row, 0).data(Qt::ForegroundRole)));
        for (int column = 1; column < 4; ++column)
            QVERIFY2(isRed(model.index(row, column).data(Qt::ForegroundRole)),
                     qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(column)));
    }
    for (int column = 0; column < 4; ++column) {
        QVERIFY(!isRed(model.index(0, column).data(Qt::ForegroundRole)));
        QVERIFY(!isRed(model.index(3, column).data(Qt::ForegroundRole)));
    }
}

void TestJournal::textsStayInTheirCells()
{
    TestEnv env;
    env.state.HeureProgress = env.clock.now();
    env.clock.advance(5);
    env.journal.AjoutProgress(QStringLiteral("Le\tchat\r\ndort"), true);
    QCOMPARE(env.journal.model().columnCount(), 4);
    QCOMPARE(env.journalText(2), QStringLiteral("Le chat  dort"));
    QCOMPARE(env.journalText(2, 3), QStringLiteral("00:00:05"));
    QCOMPARE(env.journal.model().index(1, 2).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Le\tchat\r\ndort"));
}

void TestJournal::stamp_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France)
                            << QStringLiteral("15/10/2001 14:03:22");
    QTest::newRow("Canadian French") << QLocale(QLocale::French, QLocale::Canada)
                                     << QStringLiteral("2001-10-15 14 h 03 min 22 s");
    QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates)
                              << QStringLiteral("10/15/01 2:03:22 PM");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("15.10.01 14:03:22");
}

void TestJournal::stamp()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2001, 10, 15), QTime(14, 3, 22));
    // Newer locale data puts a narrow no-break space before "PM": either is right.
    QCOMPARE(JournalModel::stamp(when, locale).replace(QChar(0x202F), QLatin1Char(' ')), expected);
}

void TestJournal::stampOfALine()
{
    // Whatever the machine's regional settings, a line shows the journal's stamp of its time,
    // and a machine without settings ("C") gets the program's French format.
    TestEnv env;
    env.clock.advance(3600);
    env.journal.AjoutProgress(QStringLiteral("x"), true);
    QCOMPARE(env.journalText(2, 1), JournalModel::stamp(env.clock.now(), JournalModel::stampLocale()));
    QVERIFY(JournalModel::stampLocale().language() != QLocale::C);
    QVERIFY(!JournalModel::timeFormatWithoutZone(JournalModel::stampLocale()).contains(QLatin1Char('t')));
}

void TestJournal::vider_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("only line 1") << 1;
    QTest::newRow("40 lines") << 40;
}

void TestJournal::vider()
{
    QFETCH(int, lines);
    TestEnv env;
    for (int i = 2; i <= lines; ++i)
        env.journal.AjoutProgress(QStringLiteral("ligne %1").arg(i), i % 2 == 0);
    QCOMPARE(env.journal.Rows(), lines + 1);
    const QDateTime mark = env.state.HeureProgress;
    env.clock.advance(600);

    frmProgression *window = env.journal.window();
    window->show();
    QTest::mouseClick(window->Vider, Qt::LeftButton);

    QCOMPARE(env.journal.Rows(), 2);
    QCOMPARE(env.journalText(1), QStringLiteral("Lancement du programme"));
    QCOMPARE(env.journalText(1, 1), JournalModel::stamp(env.clock.now()));
    QCOMPARE(env.journalText(1, 3), QString());
    QVERIFY(!isRed(env.journal.model().index(0, 2).data(Qt::ForegroundRole)));
    QCOMPARE(env.state.HeureProgress, mark);
    QVERIFY(window->isVisible());

    env.journal.AjoutProgress(QStringLiteral("suite"), true);
    QCOMPARE(env.journalText(2, 0), QStringLiteral("2"));
}

void TestJournal::closeIsRefused()
{
    TestEnv env;
    frmProgression *window = env.journal.window();
    env.journal.AjoutProgress(QStringLiteral("Le"), true);

    QVERIFY(!window->close()); // hidden: stays hidden
    QVERIFY(window->isHidden());

    env.journal.show();
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(env.journal.window(), window);
    QCOMPARE(env.journal.Rows(), 3);
    QCOMPARE(env.journalText(2), QStringLiteral("Le"));
}

void TestJournal::quitterHidesAndKeepsTheLines()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.journal.show();
    frmProgression *window = env.journal.window();
    QTest::mouseClick(window->Quitter, Qt::LeftButton);
    QVERIFY(window->isHidden());
    QCOMPARE(env.journal.Rows(), 3);

    // As the main window's "Progression" command does.
    env.journal.AjoutProgress(QStringLiteral("Consultation de la progression"), true);
    env.journal.show();
    QVERIFY(window->isVisible());
    QCOMPARE(env.journal.Rows(), 4);
    QCOMPARE(env.journalText(2), QStringLiteral("Le"));
    QCOMPARE(env.lastJournalText(), QStringLiteral("Consultation de la progression"));
}

void TestJournal::closedByTheProgram()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.journal.show();
    QPointer<frmProgression> window = env.journal.window();
    env.journal.closeByProgram();
    QVERIFY(window.isNull());
    QVERIFY(!env.journal.exists());
    QCOMPARE(env.journal.Rows(), 2); // a new journal, created hidden
    QVERIFY(env.journal.window()->isHidden());
}

void TestJournal::layout()
{
    TestEnv env;
    frmProgression *w = env.journal.window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Progression de l'exercice ..."));
    QCOMPARE(w->size(), QSize(592, 246));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);

    QCOMPARE(w->Label1->text(), QStringLiteral("Progression de..."));
    QCOMPARE(w->Label1->geometry(), QRect(6, 6, 581, 19));
    QVERIFY(w->Label1->font().bold());
    QCOMPARE(w->MSFlexGrid1->geometry(), QRect(6, 28, 579, 183));
    QCOMPARE(w->PremierPlan->text(), QStringLiteral("Fenêtre de progression en premier plan"));
    QCOMPARE(w->PremierPlan->geometry(), QRect(8, 220, 335, 17));
    QVERIFY(!w->PremierPlan->isChecked());
    QCOMPARE(w->Vider->text(), QStringLiteral("&Vider"));
    QCOMPARE(w->Vider->geometry(), QRect(352, 216, 75, 23));
    QCOMPARE(w->Sauvegarder->text(), QStringLiteral("&Sauvegarder"));
    QCOMPARE(w->Sauvegarder->geometry(), QRect(430, 216, 75, 23));
    QCOMPARE(w->Quitter->text(), QStringLiteral("&Quitter"));
    QCOMPARE(w->Quitter->geometry(), QRect(508, 216, 75, 23));

    QTableView *grid = w->MSFlexGrid1;
    const QList<int> widths{40, 100, 366, 72};
    const QStringList headers{QStringLiteral("N°"), QStringLiteral("Date"),
                              QStringLiteral("Progression de l'exercice"), QStringLiteral("Durée")};
    QCOMPARE(grid->model()->columnCount(), 4);
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(grid->columnWidth(column), widths[column]);
        QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
    }
    QVERIFY(grid->horizontalHeader()->isVisible() || grid->horizontalHeader()->isVisibleTo(w));
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(3), QHeaderView::Fixed);
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 2)) & Qt::ItemIsEditable));
    QCOMPARE(grid->model()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(grid->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignLeft | Qt::AlignVCenter);

    const QList<QWidget *> expectedOrder{w->Quitter, w->Sauvegarder, w->Vider, grid, w->PremierPlan};
    QCOMPARE(tabChain(w->Quitter), expectedOrder);
}

void TestJournal::appendingDoesNotScroll()
{
    TestEnv env;
    env.journal.show();
    QTableView *grid = env.journal.window()->MSFlexGrid1;
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

void TestJournal::premierPlan()
{
    TestEnv env;
    frmProgression *w = env.journal.window();

    w->PremierPlan->setChecked(true); // while hidden: stays hidden
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w->isHidden());
    w->PremierPlan->setChecked(false);
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));

    env.journal.show();
    const QPoint where = w->pos();
    QTest::mouseClick(w->PremierPlan, Qt::LeftButton);
    QVERIFY(w->PremierPlan->isChecked());
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w->isVisible());
    QCOMPARE(w->pos(), where);
    QTest::mouseClick(w->PremierPlan, Qt::LeftButton);
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w->isVisible());
    QCOMPARE(env.journal.Rows(), 2);
}

void TestJournal::sauvegarder()
{
    TestEnv env;
    env.state.HeureProgress = env.clock.now();
    env.clock.advance(90);
    env.journal.AjoutProgress(QStringLiteral("Le chat; dort"), true);
    env.journal.AjoutProgress(QStringLiteral("Il a dit \"bonjour\""), false);
    env.journal.SetProgress(QStringLiteral("deux\r\nlignes\tet une tabulation"), QString(), true);
    env.journal.AjoutProgress(QStringLiteral("Déplacement du mot 'été'."), true);
    const int rows = env.journal.Rows();

    const QString path = env.dir.filePath(QStringLiteral("journal.csv"));
    env.files.answers << path;
    frmProgression *w = env.journal.window();
    w->show();
    QTest::mouseClick(w->Sauvegarder, Qt::LeftButton);

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

void TestJournal::sauvegarderNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("with .csv") << QStringLiteral("a.csv") << QStringLiteral("a.csv");
    QTest::newRow("other extension kept") << QStringLiteral("a.txt") << QStringLiteral("a.txt");
    QTest::newRow("no extension: .csv added") << QStringLiteral("export") << QStringLiteral("export.csv");
}

void TestJournal::sauvegarderNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    TestEnv env;
    env.files.answers << env.dir.filePath(chosen);
    QVERIFY(env.journal.Sauvegarder());
    QVERIFY(QFileInfo(env.dir.filePath(written)).isFile());
    // The proposed name carries the day's date.
    QCOMPARE(QFileInfo(env.files.requests.first().initialPath).fileName(),
             QStringLiteral("journal-2001-10-15.csv"));
}

void TestJournal::sauvegarderCancelled()
{
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    QVERIFY(!env.journal.Sauvegarder());
    QCOMPARE(env.files.requests.size(), 1);
    QVERIFY(env.messages.shown.isEmpty());
    QCOMPARE(env.journal.Rows(), 3);
}

void TestJournal::sauvegarderFails_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << QStringLiteral("absent/journal.csv");
    QTest::newRow("a folder") << QStringLiteral("bin");
}

void TestJournal::sauvegarderFails()
{
    QFETCH(QString, target);
    TestEnv env;
    env.journal.AjoutProgress(QStringLiteral("Le"), true);
    env.journal.AjoutProgress(QStringLiteral("Le chat"), false);
    env.files.answers << env.dir.filePath(target);

    QVERIFY(!env.journal.Sauvegarder());
    QCOMPARE(env.messages.shown.size(), 1);
    QCOMPARE(env.messages.shown.first().icon, MessageBoxes::Warning);
    QVERIFY(env.messages.shown.first().text.contains(QStringLiteral("n'a pas pu être enregistrée")));
    QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("absent"))));
    QCOMPARE(env.journal.Rows(), 4);
    QCOMPARE(env.lastJournalText(), QStringLiteral("Le chat"));
}

void TestJournal::sauvegarderAsksBeforeReplacing_data()
{
    QTest::addColumn<MessageBoxes::Button>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << MessageBoxes::Yes << true;
    QTest::newRow("no") << MessageBoxes::No << false;
}

void TestJournal::sauvegarderAsksBeforeReplacing()
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

    QCOMPARE(env.journal.Sauvegarder(), replaced);
    QCOMPARE(env.messages.shown.size(), 1);
    QCOMPARE(env.messages.shown.first().defaultButton, MessageBoxes::No);
    QCOMPARE(readFile(path) == "ancien", !replaced);
}

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
