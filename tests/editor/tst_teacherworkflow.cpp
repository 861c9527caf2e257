// The teacher's round: a list written in the editor and saved beside the program, picked in the
// settings dialog, is the list the exercise reads its next sentence from.
#include "editor/frmphrases.h"
#include "exercise/sentencedeck.h"
#include "settings_dialog/frmparam.h"

#include "fakes/fakes.h"
#include "fakes/windowchecks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class tst_TeacherWorkflow : public QObject
{
    Q_OBJECT
private slots:
    void listWrittenInTheEditorReachesTheExercise();
};

void tst_TeacherWorkflow::listWrittenInTheEditorReachesTheExercise()
{
    TestEnv env;
    {
        QFile other(env.programFolder + QStringLiteral("/plumalin.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("\"Le chat dort.\"\r\n");
    }

    auto editor = std::make_unique<frmPhrases>(env.journal, env.files, env.messages, env.printing);
    editor->show();
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    for (const char *sentence : {"Papa lit le journal.", "Il pleut, il mouille."}) {
        QTest::mouseClick(control<QPushButton>(editor, "Nouveau"), Qt::LeftButton);
        QTest::keyClicks(control<QPlainTextEdit>(editor, "Text1"), QString::fromLatin1(sentence));
        QTest::keyClick(control<QPlainTextEdit>(editor, "Text1"), Qt::Key_Return);
    }
    env.files.answers << env.programFolder + QStringLiteral("/ma liste.txt");
    control<QAction>(editor, "mnuSauvegarder")->trigger();
    QVERIFY(!editor->hasUnsavedChanges());

    auto settings = std::make_unique<frmParam>(env.settings, env.programFolder, nullptr);
    settings->show();
    QVERIFY(QTest::qWaitForWindowExposed(settings.get()));
    QComboBox *files = control<QComboBox>(settings, "saisieFichier");
    QCOMPARE(files->itemText(0), QStringLiteral("ma liste.txt"));
    QCOMPARE(files->currentText(), QStringLiteral("plumalin.txt"));
    files->showPopup();
    QAbstractItemView *view = files->view();
    QTRY_VERIFY(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(0, 0)).center());
    QCOMPARE(env.settings.GetSetting(Settings::Fichier, QString()), QStringLiteral("ma liste.txt"));

    SentenceDeck deck;
    QCOMPARE(deck.ChargePhrases(env.settings, env.programFolder), SentenceLoad::Loaded);
    QCOMPARE(deck.count(), 2);
    QCOMPARE(deck.sentence(0), QStringLiteral("Papa lit le journal."));
    QCOMPARE(deck.sentence(1), QStringLiteral("Il pleut, il mouille."));
}

QTEST_MAIN(tst_TeacherWorkflow)
#include "tst_teacherworkflow.moc"
