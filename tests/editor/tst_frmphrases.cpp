#include "editor/choixfichierphrases.h"
#include "editor/frmphrases.h"
#include "editor/sentencetablemodel.h"

#include "common/cp1252.h"
#include "common/sentencefile.h"
#include "fakes/fakes.h"
#include "fakes/hostiledisk.h"
#include "fakes/windowchecks.h"

#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A sentence editor window, shown and active, over the fakes of a test environment.
struct Editor {
    TestEnv env;
    QPointer<frmPhrases> w;

    Editor()
    {
        w = new frmPhrases(env.journal, env.files, env.messages, env.printing);
        w->show();
        w->activateWindow();
    }
    ~Editor() { delete w; }

    bool ready() { return QTest::qWaitForWindowActive(w); }
    QString path(const QString &name) const { return env.programFolder + QLatin1Char('/') + name; }

    // Loads a list the way the teacher does, through "Charger" and the file dialog.
    void load(const QStringList &sentences)
    {
        const QString file = path(QStringLiteral("depart.txt"));
        QVERIFY(SentenceFile::write(file, sentences));
        env.files.answers << file;
        control<QAction>(w, "mnuCharger")->trigger();
        QCOMPARE(w->model().sentences(), sentences.isEmpty() ? QStringList{QString()} : sentences);
    }

    QPoint rowCenter(int row) const
    {
        return control<QTableView>(w, "MSFlexGrid1")
            ->visualRect(w->model().index(row - 1, 1))
            .center();
    }
    void click(int row)
    {
        QTest::mouseClick(control<QTableView>(w, "MSFlexGrid1")->viewport(), Qt::LeftButton, {},
                          rowCenter(row));
    }
    void doubleClick(int row)
    {
        QTest::mouseDClick(control<QTableView>(w, "MSFlexGrid1")->viewport(), Qt::LeftButton, {},
                           rowCenter(row));
    }
    void clickHeader()
    {
        QHeaderView *header = control<QTableView>(w, "MSFlexGrid1")->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    }
    void clickBelowLastRow()
    {
        QTest::mouseClick(
            control<QTableView>(w, "MSFlexGrid1")->viewport(), Qt::LeftButton, {},
            QPoint(60, control<QTableView>(w, "MSFlexGrid1")->viewport()->height() - 3));
    }
    // Replaces the edit box's text by typing; a "\n" is typed as Ctrl+Enter.
    void type(const QString &text)
    {
        QTest::keyClick(control<QPlainTextEdit>(w, "Text1"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(control<QPlainTextEdit>(w, "Text1"), Qt::Key_Backspace);
        const QStringList parts = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                QTest::keyClick(control<QPlainTextEdit>(w, "Text1"), Qt::Key_Return,
                                Qt::ControlModifier);
            for (const QChar c : parts[i]) {
                if (c.unicode() < 128) {
                    QTest::keyClick(control<QPlainTextEdit>(w, "Text1"), c.toLatin1());
                } else {
                    // Accented letters come as text, as from a French keyboard.
                    QTest::sendKeyEvent(QTest::Press, control<QPlainTextEdit>(w, "Text1"),
                                        Qt::Key_unknown, QString(c), {});
                    QTest::sendKeyEvent(QTest::Release, control<QPlainTextEdit>(w, "Text1"),
                                        Qt::Key_unknown, QString(c), {});
                }
            }
        }
    }
    QStringList numbers() const
    {
        QStringList list;
        for (int row = 0; row < w->model().rowCount(); ++row)
            list << w->model().index(row, 0).data().toString();
        return list;
    }
    // Journal texts after its first line ("Lancement du programme").
    QStringList journal()
    {
        QStringList list;
        for (int line = 2; line < env.journal.Rows(); ++line)
            list << env.journalText(line);
        return list;
    }
    bool inView(QWidget *control) const
    {
        return control->geometry().bottom() < w->clientArea()->height();
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<absent>";
    return f.readAll();
}

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// "fresh", "loaded" (A, B), "changed" (C added), "saved" (C added and saved), "typing" (C typed
// after Nouveau, not validated).
void makeChanges(Editor &e, const QString &before)
{
    if (before != "fresh")
        e.load({"A", "B"});
    if (before == "saved" || before == "changed" || before == "typing") {
        QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
        e.type(QStringLiteral("C"));
        if (before != "typing")
            QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);
    }
    if (before == "saved") {
        e.env.files.answers << e.path(QStringLiteral("garde.txt"));
        QVERIFY(e.w->mnuSauvegarder_Click());
    }
}

QStringList numbered(int n)
{
    QStringList list;
    for (int i = 1; i <= n; ++i)
        list << QString::number(i);
    return list;
}
}

class tst_frmPhrases : public QObject
{
    Q_OBJECT
private slots:
    void freshWindow();
    void layout();
    void statesAndHeights();
    void validate_data();
    void validate();
    void enterValidatesAgain_data();
    void enterValidatesAgain();
    void modifyingLocksTheTable();
    void cut_data();
    void cut();
    void cutRowThatNoLongerExists();
    void doubleClickGivesRowOneItsNumberBack();
    void modifyingARowThatWasCutAppendsIt_data();
    void modifyingARowThatWasCutAppendsIt();
    void straightQuoteBeforeComma_data();
    void straightQuoteBeforeComma();
    void shortcutsActOnTheTableFromTheEditBox();
    void defaultButtonAndReopening();
    void defaultButtonStaysMarked();
    void choixFichierPhrases_data();
    void choixFichierPhrases();
    void load_data();
    void load();
    void loadLeavesTheStateAlone();
    void saveRoundTrip();
    void saveFreshWindowAndCancel();
    void saveProposesTheLoadedFileAndKeepsNamesAsTyped();
    void saveBeyondTheCodePageKeepsEveryCharacter();
    void printLabels();
    void failedSave_data();
    void failedSave();
    void refusedLoad_data();
    void refusedLoad();
    void longSentenceShownShortSavedWhole();
    void rowNumbersStayReadable();
    void unsavedChangesOnClosing_data();
    void unsavedChangesOnClosing();
    void loadOverUnsavedChanges_data();
    void loadOverUnsavedChanges();
};

void tst_frmPhrases::freshWindow()
{
    Editor e;
    QVERIFY(e.ready());
    frmPhrases *w = e.w;
    QCOMPARE(w->windowTitle(), QStringLiteral("Boîte de dialogue"));
    QCOMPARE(w->model().rowCount(), 1);
    QCOMPARE(w->model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("N°"));
    QCOMPARE(w->model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Liste des phrases :"));
    QCOMPARE(w->model().index(0, 0).data().toString(), QString());
    QCOMPARE(w->model().index(0, 1).data().toString(), QString());
    QVERIFY(!(w->model().flags(w->model().index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(w->LigneChoisie(), 0);
    QCOMPARE(w->DernierMode(), frmPhrases::Mode::New);
    QCOMPARE(w->defaultButton(), control<QPushButton>(w, "OKButton"));
    QVERIFY(control<QPushButton>(w, "OKButton")->isDefault());
    // The two columns fill the table, the numbers' column wide enough for its header and for
    // three-digit numbers.
    const QTableView *grid = control<QTableView>(w, "MSFlexGrid1");
    QCOMPARE(grid->columnWidth(0) + grid->columnWidth(1), grid->viewport()->width());
    const QFontMetrics header = grid->horizontalHeader()->fontMetrics();
    QVERIFY(header.horizontalAdvance(QStringLiteral("N°")) < grid->columnWidth(0));
    QVERIFY(grid->fontMetrics().horizontalAdvance(QStringLiteral("999")) < grid->columnWidth(0));
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(w->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!w->hasUnsavedChanges());
    const QStringList menus{control<QMenu>(w, "mnuFichier")->title(),
                            control<QMenu>(w, "mnuEditer")->title()};
    QCOMPARE(menus, (QStringList{"&Fichier", "&Editer"}));
    QCOMPARE(control<QAction>(w, "mnuCouper")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(control<QAction>(w, "mnuCopier")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(control<QAction>(w, "mnuColler")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(e.journal(), QStringList());

    control<QPushButton>(w, "OKButton")->setFocus();
    const QStringList order{"CancelButton", "MSFlexGrid1", "Text1",
                            "Valider",      "Nouveau",     "OKButton"};
    for (const QString &expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected);
    }
}

void tst_frmPhrases::layout()
{
    Editor e;
    QVERIFY(e.ready());
    // While editing, every control is in view: inside the window, none on another, each text
    // whole.
    QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    const QStringList names{"Line1", "OKButton", "CancelButton", "MSFlexGrid1", "Text1", "Valider"};
    QCOMPARE(WindowChecks::outside(e.w, names), QStringList());
    QCOMPARE(WindowChecks::overlaps(e.w, names), QStringList());
    QCOMPARE(WindowChecks::textsCut(e.w, names), QStringList());
    // Browsing, Nouveau takes its place.
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);
    const QStringList browsing{"Line1", "OKButton", "CancelButton", "MSFlexGrid1", "Nouveau"};
    QCOMPARE(WindowChecks::outside(e.w, browsing), QStringList());
    QCOMPARE(WindowChecks::overlaps(e.w, browsing), QStringList());
    QCOMPARE(WindowChecks::textsCut(e.w, browsing), QStringList());
    // The line runs across the top of the window, under the menu bar.
    const QFrame *line = control<QFrame>(e.w, "Line1");
    QCOMPARE(line->width(), e.w->clientArea()->width());
    QCOMPARE(line->mapTo(e.w.data(), QPoint(0, 0)).y(),
             control<QMenuBar>(e.w, "menuBar")->geometry().bottom() + 1);
}

void tst_frmPhrases::statesAndHeights()
{
    Editor e;
    QVERIFY(e.ready());
    frmPhrases *w = e.w;
    auto browsing = [&] {
        QCOMPARE(w->designHeight(), 3795);
        QVERIFY(e.inView(control<QTableView>(w, "MSFlexGrid1")));
        QVERIFY(e.inView(control<QPushButton>(w, "Nouveau")));
        QVERIFY(!e.inView(control<QPlainTextEdit>(w, "Text1")));
        QVERIFY(!e.inView(control<QPushButton>(w, "Valider")));
        QVERIFY(control<QPushButton>(w, "Nouveau")->isVisible());
        QVERIFY(control<QTableView>(w, "MSFlexGrid1")->isEnabled());
    };
    browsing();
    const int browsingHeight = w->height();

    QTest::mouseClick(control<QPushButton>(w, "Nouveau"), Qt::LeftButton);
    QCOMPARE(w->designHeight(), 4830);
    QCOMPARE(w->height() - browsingHeight, (4830 - 3795) / 15);
    QVERIFY(e.inView(control<QPlainTextEdit>(w, "Text1")));
    QVERIFY(e.inView(control<QPushButton>(w, "Valider")));
    QVERIFY(!control<QPushButton>(w, "Nouveau")->isVisible());
    QVERIFY(control<QTableView>(w, "MSFlexGrid1")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(w, "Text1"));

    QTest::mouseClick(control<QPushButton>(w, "Valider"), Qt::LeftButton);
    browsing();
    QCOMPARE(w->height(), browsingHeight);

    e.doubleClick(1);
    QCOMPARE(w->designHeight(), 4830);
    QVERIFY(!control<QTableView>(w, "MSFlexGrid1")->isEnabled());
    QVERIFY(!control<QPushButton>(w, "Nouveau")->isVisible());
    QCOMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(w, "Text1"));
}

void tst_frmPhrases::validate_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("row"); // 0: Nouveau; otherwise the row double-clicked
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("journal");

    const QStringList abc{"A", "B", "C"};
    QTest::newRow("first sentence of a fresh window")
        << QStringList() << 0 << "Le chat dort." << QStringList{"Le chat dort."}
        << QStringList{"Editer - Nouveau 'Le chat dort.'"};
    QTest::newRow("new sentence appended")
        << abc << 0 << "D" << QStringList{"A", "B", "C", "D"}
        << QStringList{"Editer - Nouveau 'D'"};
    QTest::newRow("empty new sentence kept at the end")
        << abc << 0 << "" << QStringList{"A", "B", "C", ""} << QStringList{"Editer - Nouveau ''"};
    QTest::newRow("blanks kept")
        << QStringList() << 0 << "  Il pleut.  " << QStringList{"  Il pleut.  "}
        << QStringList{"Editer - Nouveau '  Il pleut.  '"};
    QTest::newRow("line break becomes a space")
        << QStringList() << 0 << "Le chat\ndort." << QStringList{"Le chat dort."}
        << QStringList{"Editer - Nouveau 'Le chat dort.'"};
    QTest::newRow("row 2 changed")
        << abc << 2 << "Bé, bè" << QStringList{"A", "Bé, bè", "C"}
        << QStringList{"Editer - Modifier 'B'", "Editer - Modifier en 'Bé, bè'"};
    QTest::newRow("row 1 emptied leaves the list")
        << abc << 1 << "" << QStringList{"B", "C"}
        << QStringList{"Editer - Modifier 'A'", "Editer - Modifier en ''"};
    QTest::newRow("only sentence emptied stays")
        << QStringList{"A"} << 1 << "" << QStringList{""}
        << QStringList{"Editer - Modifier 'A'", "Editer - Modifier en ''"};
}

void tst_frmPhrases::validate()
{
    QFETCH(QStringList, before);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    QFETCH(QStringList, journal);
    Editor e;
    QVERIFY(e.ready());
    if (!before.isEmpty())
        e.load(before);
    const int loadLines = int(e.journal().size());

    if (row == 0) {
        QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
        QCOMPARE(e.w->DernierMode(), frmPhrases::Mode::New);
    } else {
        e.doubleClick(row);
        QCOMPARE(e.w->DernierMode(), frmPhrases::Mode::Modify);
        QCOMPARE(e.w->LigneChoisie(), row);
        QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), before[row - 1]);
    }
    e.type(text);
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);

    QCOMPARE(e.w->model().sentences(), after);
    QCOMPARE(e.numbers(), numbered(int(after.size())));
    QCOMPARE(e.journal().mid(loadLines), journal);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(),
             text); // the edit box keeps its text
    QCOMPARE(e.w->defaultButton(), control<QPushButton>(e.w, "Valider"));
    QVERIFY(control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
}

void tst_frmPhrases::enterValidatesAgain_data()
{
    QTest::addColumn<bool>("modify");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new: a further identical row") << false << QStringList{"A", "B", "C", "X", "X"};
    QTest::newRow("modify: the same row again") << true << QStringList{"A", "X", "C"};
}

void tst_frmPhrases::enterValidatesAgain()
{
    QFETCH(bool, modify);
    QFETCH(QStringList, after);
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    if (modify)
        e.doubleClick(2);
    else
        QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    e.type(QStringLiteral("X"));
    // Enter in the edit box presses Valider, the default button.
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_Return);
    QCOMPARE(e.w->designHeight(), frmPhrases::BrowsingHeight);
    // Enter again, wherever the focus went, validates the unchanged text once more.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(e.w->model().sentences(), after);
    QCOMPARE(e.numbers(), numbered(int(after.size())));
    const QString line = modify ? "Editer - Modifier en 'X'" : "Editer - Nouveau 'X'";
    QCOMPARE(e.journal().count(line), 2);
    QVERIFY(e.w); // not closed: OK is no longer the default button
}

void tst_frmPhrases::modifyingLocksTheTable()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    e.doubleClick(2);
    QVERIFY(!control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
    QCOMPARE(control<QTableView>(e.w, "MSFlexGrid1")->currentIndex(), e.w->model().index(1, 1));
    // Clicks on the locked table choose nothing.
    e.click(3);
    e.doubleClick(3);
    QCOMPARE(e.w->LigneChoisie(), 2);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("B"));
    QCOMPARE(e.journal().count("Editer - Modifier 'B'"), 1);
    QCOMPARE(e.journal().count("Editer - Modifier 'C'"), 0);
}

void tst_frmPhrases::cut_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("choose"); // "row N", "header", "below", or nothing
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("line");

    const QStringList abc{"A", "B", "C"};
    QTest::newRow("row 2 of 3") << abc << "row 2" << QStringList{"A", "C"}
                                << QStringList{"1", "2"} << "Editer - Couper 'B'";
    QTest::newRow("row 1 of 3") << abc << "row 1" << QStringList{"B", "C"}
                                << QStringList{"1", "2"} << "Editer - Couper 'A'";
    QTest::newRow("last row") << abc << "row 3" << QStringList{"A", "B"}
                              << QStringList{"1", "2"} << "Editer - Couper 'C'";
    QTest::newRow("only sentence blanked") << QStringList{"A"} << "row 1" << QStringList{""}
                                           << QStringList{""} << "Editer - Couper 'A'";
    QTest::newRow("nothing chosen") << abc << "" << QStringList{"", "B", "C"}
                                    << QStringList{"", "2", "3"}
                                    << "Editer - Couper 'Liste des phrases :'";
    QTest::newRow("header clicked") << abc << "header" << QStringList{"", "B", "C"}
                                    << QStringList{"", "2", "3"}
                                    << "Editer - Couper 'Liste des phrases :'";
    QTest::newRow("click below the last row") << abc << "below" << QStringList{"", "B", "C"}
                                              << QStringList{"", "2", "3"}
                                              << "Editer - Couper 'Liste des phrases :'";
    QTest::newRow("fresh window") << QStringList() << "" << QStringList{""} << QStringList{""}
                                  << "Editer - Couper 'Liste des phrases :'";
}

void tst_frmPhrases::cut()
{
    QFETCH(QStringList, before);
    QFETCH(QString, choose);
    QFETCH(QStringList, after);
    QFETCH(QStringList, numbers);
    QFETCH(QString, line);
    Editor e;
    QVERIFY(e.ready());
    if (!before.isEmpty())
        e.load(before);
    if (choose.startsWith("row "))
        e.click(choose.mid(4).toInt());
    else if (choose == "header")
        e.clickHeader();
    else if (choose == "below")
        e.clickBelowLastRow();
    const int chosen = e.w->LigneChoisie();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(e.w->model().sentences(), after);
    QCOMPARE(e.numbers(), numbers);
    QCOMPARE(e.journal().last(), line);
    QCOMPARE(e.w->LigneChoisie(), chosen);
    QVERIFY(control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
}

void tst_frmPhrases::cutRowThatNoLongerExists()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    e.click(3);
    control<QAction>(e.w, "mnuCouper")->trigger();
    QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B"}));
    control<QAction>(e.w, "mnuCouper")->trigger();
    QCOMPARE(e.journal().last(), QStringLiteral("Editer - Couper ''"));
    QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B"}));
    QCOMPARE(e.numbers(), (QStringList{"1", "2"}));
}

void tst_frmPhrases::doubleClickGivesRowOneItsNumberBack()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A"});
    e.click(1);
    control<QAction>(e.w, "mnuCouper")->trigger();
    QCOMPARE(e.numbers(), QStringList{""});
    e.doubleClick(1);
    QCOMPARE(e.numbers(), QStringList{"1"});
    QCOMPARE(e.w->DernierMode(), frmPhrases::Mode::Modify);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QString());
    QCOMPARE(e.journal().last(), QStringLiteral("Editer - Modifier ''"));
}

void tst_frmPhrases::modifyingARowThatWasCutAppendsIt_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("last row") << 3 << QStringList{"A", "B", "X"};
    // The row that held the cut sentence now holds the next one, which stays as it was.
    QTest::newRow("middle row") << 2 << QStringList{"A", "C", "X"};
    QTest::newRow("first row") << 1 << QStringList{"B", "C", "X"};
}

void tst_frmPhrases::modifyingARowThatWasCutAppendsIt()
{
    QFETCH(int, row);
    QFETCH(QStringList, after);
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    e.doubleClick(row);
    // Ctrl+X from the edit box cuts the row being changed; the table is unlocked by the cut.
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(e.w->model().sentences().size(), 2);
    QVERIFY(control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
    e.type(QStringLiteral("X"));
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_Return);
    QCOMPARE(e.w->model().sentences(), after);
    QCOMPARE(e.numbers(), numbered(3));
    QCOMPARE(e.journal().last(), QStringLiteral("Editer - Modifier en 'X'"));
    // Enter again writes the same row again, still touching no other sentence.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(e.w->model().sentences(), after);
}

void tst_frmPhrases::straightQuoteBeforeComma_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<QString>("kept");
    const QString oui = QStringLiteral("\"Oui\", dit-il.");
    QTest::newRow("replaced") << oui << int(MessageBoxes::Yes) << "«Oui», dit-il.";
    QTest::newRow("kept as typed") << oui << int(MessageBoxes::No) << oui;
    QTest::newRow("quote before a space asks nothing")
        << "Il dit \"oui\" et part." << 0 << "Il dit \"oui\" et part.";
    QTest::newRow("quote at the end asks nothing") << "Il dit \"oui\"" << 0 << "Il dit \"oui\"";
    QTest::newRow("comma without a quote asks nothing") << "Oui, dit-il." << 0 << "Oui, dit-il.";
    // Beyond the code page the list is saved in UTF-8: the quote matters the same.
    QTest::newRow("letter beyond the code page")
        << QStringLiteral("\"\u4E2D\", dit-il.") << int(MessageBoxes::Yes)
        << QStringLiteral("«\u4E2D», dit-il.");
}

void tst_frmPhrases::straightQuoteBeforeComma()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QString, kept);
    Editor e;
    QVERIFY(e.ready());
    QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    e.type(typed);
    if (answer)
        e.env.messages.answers.push_back(MessageBoxes::Button(answer));
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_Return);
    QCOMPARE(e.env.messages.shown.size(), answer ? 1 : 0);
    if (answer) {
        const FakeMessageBoxes::Shown &box = e.env.messages.shown.first();
        QCOMPARE(box.buttons, MessageBoxes::Yes | MessageBoxes::No);
        QVERIFY2(box.text.contains("« »"), qPrintable(box.text));
    }
    QCOMPARE(e.w->model().sentences(), QStringList{kept});
    QCOMPARE(e.journal().last(), "Editer - Nouveau '" + kept + "'");
    // Chosen once: validating the same sentence again asks nothing more.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(e.env.messages.shown.size(), answer ? 1 : 0);

    // What is saved reads back as the sentences shown, unless the teacher kept the quotes.
    const QString file = e.path(QStringLiteral("guillemets.txt"));
    e.env.files.answers << file;
    QVERIFY(e.w->mnuSauvegarder_Click());
    const bool same
        = SentenceFile::read(file) == std::optional<QStringList>(QStringList{kept, kept});
    QCOMPARE(same, answer != int(MessageBoxes::No));
}

void tst_frmPhrases::shortcutsActOnTheTableFromTheEditBox()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    e.click(2);
    QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    QTest::keyClicks(control<QPlainTextEdit>(e.w, "Text1"), QStringLiteral("abc"));
    QCOMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(e.w, "Text1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("presse-papiers"));
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_A, Qt::ControlModifier);

    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("presse-papiers"));
    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("abc"));
    QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B", "C"}));

    QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("abc"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("presse-papiers"));
    QCOMPARE(e.w->model().sentences(), (QStringList{"A", "C"}));
    QCOMPARE(e.journal().last(), QStringLiteral("Editer - Couper 'B'"));
    // Still entering the new sentence.
    QCOMPARE(e.w->designHeight(), frmPhrases::EditingHeight);

    // The table does not copy its cells either.
    e.click(1);
    QCOMPARE(QApplication::focusWidget(), control<QTableView>(e.w, "MSFlexGrid1"));
    QTest::keyClick(control<QTableView>(e.w, "MSFlexGrid1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("presse-papiers"));
}

void tst_frmPhrases::defaultButtonAndReopening()
{
    {
        Editor e;
        QVERIFY(e.ready());
        // On a fresh window Enter is OK: the window closes (nothing to save, no question).
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        processDeletes();
        QVERIFY(e.w.isNull());
        QVERIFY(e.env.messages.shown.isEmpty());
    }
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B"});
    e.click(2);
    e.doubleClick(1);
    QCOMPARE(e.w->defaultButton(), control<QPushButton>(e.w, "Valider"));
    QVERIFY(!control<QPushButton>(e.w, "OKButton")->isDefault());
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);
    QCOMPARE(e.w->defaultButton(), control<QPushButton>(e.w, "Valider"));
    e.w->close();
    processDeletes();
    QVERIFY(e.w.isNull());

    // A new window starts over.
    e.w = new frmPhrases(e.env.journal, e.env.files, e.env.messages, e.env.printing);
    e.w->show();
    QVERIFY(e.ready());
    QCOMPARE(e.w->model().sentences(), QStringList{QString()});
    QCOMPARE(e.w->LigneChoisie(), 0);
    QCOMPARE(e.w->DernierMode(), frmPhrases::Mode::New);
    QCOMPARE(e.w->defaultButton(), control<QPushButton>(e.w, "OKButton"));
    QCOMPARE(e.w->cheminChoisi(), QString());
}

void tst_frmPhrases::defaultButtonStaysMarked()
{
    Editor e;
    QVERIFY(e.ready());
    frmPhrases *w = e.w;
    const auto marked = [w] {
        QList<QPushButton *> list;
        for (QPushButton* b :
             {control<QPushButton>(w, "OKButton"), control<QPushButton>(w, "CancelButton"),
              control<QPushButton>(w, "Valider"), control<QPushButton>(w, "Nouveau")})
            if (b->isDefault())
                list << b;
        return list;
    };
    using Buttons = QList<QPushButton *>;
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(w, "OKButton"));
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "OKButton")});
    // The focus leaves OK for the table: OK is still the button Enter presses, and looks it.
    e.click(1);
    QCOMPARE(QApplication::focusWidget(), control<QTableView>(w, "MSFlexGrid1"));
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "OKButton")});
    // A button with the focus is the one Enter presses, as in any dialog; it alone looks it.
    control<QPushButton>(w, "CancelButton")->setFocus();
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "CancelButton")});

    QTest::mouseClick(control<QPushButton>(w, "Nouveau"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(w, "Text1"));
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "Valider")});
    QTest::keyClick(control<QPlainTextEdit>(w, "Text1"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(w, "Valider"));
    QTest::keyClick(control<QPushButton>(w, "Valider"), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), control<QPlainTextEdit>(w, "Text1"));
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "Valider")});
    e.click(1);
    QCOMPARE(marked(), Buttons{control<QPushButton>(w, "Valider")});
}

void tst_frmPhrases::choixFichierPhrases_data()
{
    QTest::addColumn<QString>("answer"); // null: cancel
    QTest::addColumn<bool>("chosen");
    QTest::newRow("cancel") << QString() << false;
    QTest::newRow("empty name") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("path kept untrimmed") << " /tmp/phrases.txt " << true;
    QTest::newRow("name without extension") << "/tmp/phrases" << true;
}

void tst_frmPhrases::choixFichierPhrases()
{
    QFETCH(QString, answer);
    QFETCH(bool, chosen);
    FakeFileChooser files;
    files.answers << answer;
    QString last = QStringLiteral("/tmp/avant.txt");
    const std::optional<QString> result = ChoixFichierPhrases(files, nullptr, last);
    QCOMPARE(files.requests.size(), 1);
    const FileChooser::Request &request = files.requests.first();
    QCOMPARE(request.title, QStringLiteral("Sélection de la photographie"));
    QCOMPARE(request.filters,
             (QStringList{"Fichier des phrases (*.txt)", "Tous les fichiers (*.*)"}));
    QCOMPARE(request.initialPath, QStringLiteral("/tmp/avant.txt"));
    QVERIFY(!request.mustExist);
    QCOMPARE(result.has_value(), chosen);
    if (chosen) {
        QCOMPARE(*result, answer);
        QCOMPARE(last, answer);
    } else {
        QCOMPARE(last, QStringLiteral("/tmp/avant.txt"));
    }
}

void tst_frmPhrases::load_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no such file
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("three records")
        << QByteArray("\"Le chat dort.\"\r\n\"Il pleut, il mouille.\"\r\n\"\xC9t\xE9\"\r\n")
        << QStringList{"Le chat dort.", "Il pleut, il mouille.", "Été"};
    QTest::newRow("hand-written, no quotes, no last line end")
        << QByteArray("Le loup, la ch\xE8vre et le chou\r\nfin")
        << QStringList{"Le loup", "la chèvre et le chou", "fin"};
    QTest::newRow("empty file") << QByteArray("") << QStringList{""};
    QTest::newRow("missing file") << QByteArray() << QStringList{"A", "B"};
}

void tst_frmPhrases::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B"});
    const QString file = e.path(QStringLiteral("liste.txt"));
    if (!bytes.isNull()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    e.env.files.answers << file;
    control<QAction>(e.w, "mnuCharger")->trigger();
    QCOMPARE(e.journal().last(), "Editer - Charger les phrases (Fichier:" + file + ")");
    QCOMPARE(e.w->model().sentences(), shown);
    QCOMPARE(e.numbers(), bytes.isEmpty() && !bytes.isNull() ? QStringList{""}
                                                             : numbered(int(shown.size())));
    QVERIFY(!e.w->hasUnsavedChanges());

    // Cancelled: nothing written to the journal, the table unchanged.
    const int lines = e.env.journal.Rows();
    control<QAction>(e.w, "mnuCharger")->trigger();
    QCOMPARE(e.env.journal.Rows(), lines);
    QCOMPARE(e.w->model().sentences(), shown);
}

void tst_frmPhrases::loadLeavesTheStateAlone()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B", "C"});
    e.doubleClick(3);
    e.load({"X"});
    QVERIFY(!control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
    QCOMPARE(e.w->designHeight(), frmPhrases::EditingHeight);
    QCOMPARE(e.w->LigneChoisie(), 3);
    QCOMPARE(e.w->DernierMode(), frmPhrases::Mode::Modify);
    QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("C"));
}

void tst_frmPhrases::saveRoundTrip()
{
    Editor e;
    QVERIFY(e.ready());
    for (const QString &s : {QStringLiteral("  Le chat dort.  "),
                             QStringLiteral("Il pleut, il mouille."),
                             QStringLiteral("L'élève à l'école")}) {
        QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
        e.type(s);
        QTest::keyClick(control<QPlainTextEdit>(e.w, "Text1"), Qt::Key_Return);
    }
    QVERIFY(e.w->hasUnsavedChanges());
    const QString file = e.path(QStringLiteral("mes phrases.txt"));
    e.env.files.answers << file;
    control<QAction>(e.w, "mnuSauvegarder")->trigger();
    QCOMPARE(fileBytes(file), QByteArray("\"Le chat dort.\"\r\n\"Il pleut, il mouille.\"\r\n"
                                         "\"L'\xE9l\xE8ve \xE0 l'\xE9" "cole\"\r\n"));
    QCOMPARE(e.journal().mid(e.journal().size() - 2),
             (QStringList{"Editer - Sauvegarder les phrases",
                          "Editer - Sauvegarder les phrases (Fichier:" + file + ")"}));
    QVERIFY(!e.w->hasUnsavedChanges());
    QVERIFY(e.env.messages.shown.isEmpty());

    // Loaded back into another window: the same sentences without their blanks, from 1.
    Editor again;
    QVERIFY(again.ready());
    again.env.files.answers << file;
    control<QAction>(again.w, "mnuCharger")->trigger();
    QCOMPARE(again.w->model().sentences(),
             (QStringList{"Le chat dort.", "Il pleut, il mouille.", "L'élève à l'école"}));
    QCOMPARE(again.numbers(), numbered(3));
}

void tst_frmPhrases::saveFreshWindowAndCancel()
{
    Editor e;
    QVERIFY(e.ready());
    control<QAction>(e.w, "mnuSauvegarder")->trigger();
    QCOMPARE(e.journal(), QStringList{"Editer - Sauvegarder les phrases"});

    const QString file = e.path(QStringLiteral("vide.txt"));
    e.env.files.answers << file;
    control<QAction>(e.w, "mnuSauvegarder")->trigger();
    QCOMPARE(fileBytes(file), QByteArray("\"\"\r\n"));
    QCOMPARE(e.journal(), (QStringList{"Editer - Sauvegarder les phrases",
                                       "Editer - Sauvegarder les phrases",
                                       "Editer - Sauvegarder les phrases (Fichier:" + file + ")"}));
    QVERIFY(e.env.messages.shown.isEmpty());
}

void tst_frmPhrases::saveProposesTheLoadedFileAndKeepsNamesAsTyped()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B"});
    const QString loaded = e.path(QStringLiteral("depart.txt"));
    QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    e.type(QStringLiteral("C"));
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);

    e.env.files.answers << loaded;
    QVERIFY(e.w->mnuSauvegarder_Click());
    QCOMPARE(e.env.files.requests.last().initialPath, loaded);
    QCOMPARE(fileBytes(loaded), QByteArray("\"A\"\r\n\"B\"\r\n\"C\"\r\n"));
    QVERIFY(e.env.messages.shown.isEmpty()); // replaced without a question

    const QString bare = e.path(QStringLiteral("sans extension"));
    e.env.files.answers << bare;
    QVERIFY(e.w->mnuSauvegarder_Click());
    QCOMPARE(e.env.files.requests.last().initialPath, loaded);
    QCOMPARE(fileBytes(bare), QByteArray("\"A\"\r\n\"B\"\r\n\"C\"\r\n"));
    QVERIFY(!QFile::exists(bare + ".txt"));
    QCOMPARE(e.w->cheminChoisi(), bare);
}

void tst_frmPhrases::saveBeyondTheCodePageKeepsEveryCharacter()
{
    Editor e;
    QVERIFY(e.ready());
    e.load({QStringLiteral("L'été « chaud »."), QStringLiteral("Œuf")});
    const QString file = e.path(QStringLiteral("liste.txt"));
    e.env.files.answers << file;
    QVERIFY(e.w->mnuSauvegarder_Click());
    QCOMPARE(fileBytes(file), QByteArray("\"L'\xe9t\xe9 \xab chaud \xbb.\"\r\n\"\x8c" "uf\"\r\n"));
    QVERIFY(e.env.messages.shown.isEmpty());

    QTest::mouseClick(control<QPushButton>(e.w, "Nouveau"), Qt::LeftButton);
    e.type(QStringLiteral("Ayşe a tout juste ✓"));
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);
    const QStringList list = e.w->model().sentences();
    QCOMPARE(list.last(), QStringLiteral("Ayşe a tout juste ✓"));
    for (int save = 1; save <= 2; ++save) {
        e.env.files.answers << file;
        QVERIFY(e.w->mnuSauvegarder_Click());
        QCOMPARE(e.env.messages.shown.size(), save); // told at each such save, once
        QCOMPARE(e.env.messages.shown.last().icon, MessageBoxes::Information);
        QVERIFY(e.env.messages.shown.last().text.contains(QStringLiteral("UTF-8")));
        QVERIFY(e.env.messages.shown.last().text.contains(QStringLiteral("« ş »")));
    }
    QVERIFY(!fileBytes(file).contains('?'));
    QVERIFY(!e.w->hasUnsavedChanges());

    Editor other;
    QVERIFY(other.ready());
    other.env.files.answers << file;
    control<QAction>(other.w, "mnuCharger")->trigger();
    QCOMPARE(other.w->model().sentences(), list);
}

void tst_frmPhrases::printLabels()
{
    Editor e;
    QVERIFY(e.ready());
    QAction *print = control<QAction>(e.w, "mnuImprimerEtiquettes");
    QCOMPARE(print->text(), QStringLiteral("&Imprimer les étiquettes…"));
    QVERIFY(control<QMenu>(e.w, "mnuFichier")->actions().contains(print));

    // An empty list: nothing to print, and the teacher is told so.
    print->trigger();
    QCOMPARE(e.env.printing.titles.size(), 0);
    QCOMPARE(e.env.messages.shown.size(), 1);
    QCOMPARE(e.journal(), QStringList());

    e.load({"Le chat dort.", "", "Il pleut."});
    const QStringList loaded = e.journal();
    print->trigger(); // cancelled in the dialog
    QCOMPARE(e.env.printing.titles, QStringList{"Imprimer les étiquettes"});
    QCOMPARE(e.env.printing.documentNames, QStringList{"Étiquettes - depart"});
    QCOMPARE(e.journal(), loaded);

    const QString pdf = e.path(QStringLiteral("etiquettes.pdf"));
    e.env.printing.pdfPath = pdf;
    print->trigger();
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(e.journal().last(), QStringLiteral("Impression des étiquettes de 2 phrases"));
    QCOMPARE(e.env.messages.shown.size(), 1);

    // A printer that cannot be written to is told, and nothing is journalled.
    e.env.printing.pdfPath = e.path(QStringLiteral("absent/etiquettes.pdf"));
    const QStringList before = e.journal();
    print->trigger();
    QCOMPARE(e.env.messages.shown.size(), 2);
    QCOMPARE(e.env.messages.shown.last().icon, MessageBoxes::Warning);
    QCOMPARE(e.journal(), before);
}

void tst_frmPhrases::failedSave_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder" << "est un dossier";
    QTest::newRow("a missing folder") << "missing" << "Fichier ou dossier introuvable";
    QTest::newRow("a read-only folder and file") << "readonly" << "Permission refusée";
    QTest::newRow("a full disk") << "full" << "Plus de place sur le disque";
}

void tst_frmPhrases::failedSave()
{
    QFETCH(QString, where);
    QFETCH(QString, reason);
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B"});
    QString target;
    QByteArray earlier = "<absent>";
    std::unique_ptr<SmallDisk> disk;
    std::optional<AsOrdinaryUser> user;
    if (where == "folder") {
        target = e.path(QStringLiteral("dossier.txt"));
        QVERIFY(QDir().mkpath(target));
    } else if (where == "missing") {
        target = e.path(QStringLiteral("nulle/part/phrases.txt"));
    } else if (where == "readonly") {
        const QString folder = e.path(QStringLiteral("protege"));
        QVERIFY(QDir().mkpath(folder));
        target = folder + QStringLiteral("/phrases.txt");
        QVERIFY(SentenceFile::write(target, {QStringLiteral("ancienne")}));
        earlier = fileBytes(target);
        const auto readAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                  | QFileDevice::ReadOther | QFileDevice::ExeOther;
        for (QString up = folder; up.size() > QDir::tempPath().size(); up = QFileInfo(up).path())
            QFile::setPermissions(up, readAndEnter | QFileDevice::WriteOwner);
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        QFile::setPermissions(folder, readAndEnter);
        user.emplace();
        if (QFile(folder + QStringLiteral("/essai")).open(QIODevice::WriteOnly))
            QSKIP("This user may write into read-only folders");
        if (!QFileInfo::exists(target))
            QSKIP("The temporary folder cannot be reached by an ordinary user");
    } else {
        disk = std::make_unique<SmallDisk>(64 * 1024);
        if (!disk->mounted())
            QSKIP(qPrintable(disk->why()));
        target = disk->path(QStringLiteral("phrases.txt"));
        QVERIFY(SentenceFile::write(target, {QStringLiteral("ancienne")}));
        earlier = fileBytes(target);
        QVERIFY(disk->fill(0));
    }
    e.doubleClick(1);
    e.type(QStringLiteral("A changée"));
    QTest::mouseClick(control<QPushButton>(e.w, "Valider"), Qt::LeftButton);

    e.env.files.answers << target;
    QVERIFY(!e.w->mnuSauvegarder_Click());
    user.reset();
    QCOMPARE(e.env.messages.shown.size(), 1);
    const FakeMessageBoxes::Shown &box = e.env.messages.shown.first();
    QCOMPARE(box.icon, MessageBoxes::Warning);
    QVERIFY2(box.text.startsWith("Les phrases n'ont pas pu être enregistrées."),
             qPrintable(box.text));
    QVERIFY2(box.text.contains(reason), qPrintable(box.text));
    QCOMPARE(e.w->model().sentences(), (QStringList{"A changée", "B"}));
    QVERIFY(e.w->hasUnsavedChanges());
    QCOMPARE(fileBytes(target), earlier);
    if (where == "readonly")
        QFile::setPermissions(QFileInfo(target).path(), QFileDevice::ReadOwner
                                                            | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner);
}

void tst_frmPhrases::refusedLoad_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a named pipe") << "fifo";
    QTest::newRow("a link to /dev/zero") << "zero";
    QTest::newRow("a folder named x.txt") << "folder";
}

// A file that is not a plain sentence file is refused at once: the table stays as it was.
void tst_frmPhrases::refusedLoad()
{
    QFETCH(QString, kind);
    Editor e;
    QVERIFY(e.ready());
    e.load({"A", "B"});
    const QString path = e.path(QStringLiteral("x.txt"));
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (kind == "zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        QVERIFY(QDir().mkdir(path));

    e.env.files.answers << path;
    ::alarm(20); // an open that blocks ends the test program here, as a failure
    control<QAction>(e.w, "mnuCharger")->trigger();
    ::alarm(0);
    QCOMPARE(e.env.messages.shown.size(), 1);
    const QString text = e.env.messages.shown.first().text;
    QVERIFY2(text.startsWith("Les phrases n'ont pas pu être chargées."), qPrintable(text));
    QVERIFY2(text.contains(path), qPrintable(text));
    QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B"}));
    QVERIFY(!e.w->hasUnsavedChanges());
}

// A 20 MB record: the table draws a short beginning, the list keeps and saves every character.
void tst_frmPhrases::longSentenceShownShortSavedWhole()
{
    Editor e;
    QVERIFY(e.ready());
    QString big = QStringLiteral("Le chat dort. ").repeated(1'500'000);
    big.append(QStringLiteral("Fin"));
    e.load({"court", big});
    const QModelIndex cell = e.w->model().index(1, 1);
    const QString shown = cell.data(Qt::DisplayRole).toString();
    QCOMPARE(shown.size(), SentenceTableModel::ShownLength + 1);
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QVERIFY(big.startsWith(shown.chopped(1)));
    QCOMPARE(cell.data(Qt::EditRole).toString(), big);
    QCOMPARE(e.w->model().index(0, 1).data(Qt::DisplayRole).toString(), QStringLiteral("court"));
    control<QTableView>(e.w, "MSFlexGrid1")->viewport()->repaint();

    // Too long for the edit box: said so, and the window stays as it was.
    e.doubleClick(2);
    QCOMPARE(e.env.messages.shown.size(), 1);
    QVERIFY2(e.env.messages.shown.first().text.contains("trop longue"),
             qPrintable(e.env.messages.shown.first().text));
    QVERIFY(control<QPlainTextEdit>(e.w, "Text1")->toPlainText().isEmpty());
    QVERIFY(control<QTableView>(e.w, "MSFlexGrid1")->isEnabled());
    e.env.messages.shown.clear();

    const QString target = e.path(QStringLiteral("longue.txt"));
    e.env.files.answers << target;
    QVERIFY(e.w->mnuSauvegarder_Click());
    QCOMPARE(fileBytes(target), SentenceFile::serialize({"court", big}));
}

// Up to the longest list, the last row's number shows whole, not shortened to "…".
void tst_frmPhrases::rowNumbersStayReadable()
{
    Editor e;
    QVERIFY(e.ready());
    e.load(numbered(32767));
    QTableView *grid = control<QTableView>(e.w, "MSFlexGrid1");
    grid->scrollToBottom();
    const QModelIndex last = e.w->model().index(32766, 0);
    const QString number = last.data(Qt::DisplayRole).toString();
    QCOMPARE(number, QStringLiteral("32767"));
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const int room = grid->visualRect(last).width() - 2 * margin;
    QCOMPARE(grid->fontMetrics().elidedText(number, Qt::ElideRight, room), number);
}

void tst_frmPhrases::unsavedChangesOnClosing_data()
{
    QTest::addColumn<QString>("how");        // "OK", "Annuler", "close box", "Escape"
    QTest::addColumn<QString>("before");     // "fresh", "loaded", "saved", "changed"
    QTest::addColumn<int>("answer");         // the question's answer
    QTest::addColumn<QString>("saveAnswer"); // the file dialog's answer after Oui; null: cancel
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");

    const QString none;
    QTest::newRow("fresh, OK") << "OK" << "fresh" << 0 << none << false << true << false;
    QTest::newRow("loaded, Annuler") << "Annuler"
                                     << "loaded" << 0 << none << false << true << false;
    QTest::newRow("saved, close box") << "close box"
                                      << "saved" << 0 << none << false << true << false;
    QTest::newRow("changed, Non") << "OK" << "changed" << int(MessageBoxes::No) << none
                                  << true << true << false;
    QTest::newRow("changed, Annuler answered")
        << "close box" << "changed" << int(MessageBoxes::Cancel) << none << true << false << false;
    QTest::newRow("changed, Oui") << "Annuler" << "changed" << int(MessageBoxes::Yes)
                                  << "sortie.txt" << true << true << true;
    QTest::newRow("changed, Oui, dialog cancelled")
        << "OK" << "changed" << int(MessageBoxes::Yes) << none << true << false << false;
    QTest::newRow("changed, Oui, save fails")
        << "close box"
        << "changed" << int(MessageBoxes::Yes) << "dossier" << true << false << false;
    // A sentence typed and not validated is an unsaved change too; Oui saves it with the list.
    QTest::newRow("typing, Non") << "close box" << "typing" << int(MessageBoxes::No) << none
                                 << true << true << false;
    QTest::newRow("typing, Oui") << "OK" << "typing" << int(MessageBoxes::Yes) << "sortie.txt"
                                 << true << true << true;
    QTest::newRow("typing, Annuler answered")
        << "close box" << "typing" << int(MessageBoxes::Cancel) << none << true << false << false;
    QTest::newRow("fresh, Escape") << "Escape" << "fresh" << 0 << none << false << true << false;
    QTest::newRow("changed, Escape, Annuler answered")
        << "Escape" << "changed" << int(MessageBoxes::Cancel) << none << true << false << false;
}

void tst_frmPhrases::unsavedChangesOnClosing()
{
    QFETCH(QString, how);
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    Editor e;
    QVERIFY(e.ready());
    makeChanges(e, before);
    QVERIFY(QDir().mkpath(e.path(QStringLiteral("dossier"))));
    if (answer)
        e.env.messages.answers.push_back(MessageBoxes::Button(answer));
    e.env.files.answers << (saveAnswer.isNull() ? QString() : e.path(saveAnswer));

    if (how == "OK")
        QTest::mouseClick(control<QPushButton>(e.w, "OKButton"), Qt::LeftButton);
    else if (how == "Annuler")
        QTest::mouseClick(control<QPushButton>(e.w, "CancelButton"), Qt::LeftButton);
    else if (how == "Escape")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        e.w->close();
    processDeletes();

    const auto questions = std::count_if(e.env.messages.shown.begin(), e.env.messages.shown.end(),
                                         [](const FakeMessageBoxes::Shown &s) {
                                             return s.text == "Enregistrer les modifications ?";
                                         });
    QCOMPARE(questions, asked ? 1 : 0);
    if (asked) {
        const FakeMessageBoxes::Shown &q = e.env.messages.shown.first();
        QCOMPARE(q.buttons, MessageBoxes::Yes | MessageBoxes::No | MessageBoxes::Cancel);
        QCOMPARE(q.icon, MessageBoxes::Question);
    }
    QCOMPARE(e.w.isNull(), closed);
    if (!closed && before == "typing")
        QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("C"));
    else if (!closed)
        QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B", "C"}));
    QCOMPARE(fileBytes(e.path(QStringLiteral("sortie.txt"))),
             written ? QByteArray("\"A\"\r\n\"B\"\r\n\"C\"\r\n") : QByteArray("<absent>"));
}

void tst_frmPhrases::loadOverUnsavedChanges_data()
{
    QTest::addColumn<QString>("before");     // as for closing
    QTest::addColumn<int>("answer");         // the question's answer
    QTest::addColumn<QString>("saveAnswer"); // the file dialog's answer after Oui; null: cancel
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("written");

    const QString none;
    QTest::newRow("loaded, nothing to ask") << "loaded" << 0 << none << false << true << false;
    QTest::newRow("saved, nothing to ask") << "saved" << 0 << none << false << true << false;
    QTest::newRow("changed, Non") << "changed" << int(MessageBoxes::No) << none << true << true
                                  << false;
    QTest::newRow("changed, Annuler")
        << "changed" << int(MessageBoxes::Cancel) << none << true << false << false;
    QTest::newRow("changed, Oui") << "changed" << int(MessageBoxes::Yes) << "sortie.txt"
                                  << true << true << true;
    QTest::newRow("changed, Oui, dialog cancelled")
        << "changed" << int(MessageBoxes::Yes) << none << true << false << false;
    QTest::newRow("changed, Oui, save fails")
        << "changed" << int(MessageBoxes::Yes) << "dossier" << true << false << false;
    QTest::newRow("typing, Oui") << "typing" << int(MessageBoxes::Yes) << "sortie.txt"
                                 << true << true << true;
    QTest::newRow("typing, Annuler")
        << "typing" << int(MessageBoxes::Cancel) << none << true << false << false;
}

void tst_frmPhrases::loadOverUnsavedChanges()
{
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, asked);
    QFETCH(bool, loaded);
    QFETCH(bool, written);
    Editor e;
    QVERIFY(e.ready());
    makeChanges(e, before);
    const QString other = e.path(QStringLiteral("autre.txt"));
    QVERIFY(SentenceFile::write(other, {QStringLiteral("Autre")}));
    QVERIFY(QDir().mkpath(e.path(QStringLiteral("dossier"))));
    e.env.messages.shown.clear();
    if (answer)
        e.env.messages.answers.push_back(MessageBoxes::Button(answer));
    if (answer == int(MessageBoxes::Yes))
        e.env.files.answers << (saveAnswer.isNull() ? QString() : e.path(saveAnswer));
    e.env.files.answers << other;

    control<QAction>(e.w, "mnuCharger")->trigger();

    const bool question = !e.env.messages.shown.isEmpty()
                          && e.env.messages.shown.first().text == "Enregistrer les modifications ?";
    QCOMPARE(question, asked);
    if (loaded) {
        QCOMPARE(e.w->model().sentences(), QStringList{"Autre"});
        // The list is the file's now: closing asks nothing.
        QVERIFY(!e.w->hasUnsavedChanges());
    } else if (before == "typing") {
        QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B"}));
        QCOMPARE(control<QPlainTextEdit>(e.w, "Text1")->toPlainText(), QStringLiteral("C"));
    } else {
        QCOMPARE(e.w->model().sentences(), (QStringList{"A", "B", "C"}));
    }
    QCOMPARE(fileBytes(e.path(QStringLiteral("sortie.txt"))),
             written ? QByteArray("\"A\"\r\n\"B\"\r\n\"C\"\r\n") : QByteArray("<absent>"));
}

QTEST_MAIN(tst_frmPhrases)
#include "tst_frmphrases.moc"
