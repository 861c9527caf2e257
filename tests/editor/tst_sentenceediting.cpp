// The sentence editor's rules without its window: sequences of the teacher's actions, and what
// the list, its numbers, the row being changed and the unsaved-change question become.
#include "editor/sentenceediting.h"
#include "editor/sentencetablemodel.h"

#include <QtTest>

class tst_SentenceEditing : public QObject
{
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
    void quoteQuestion_data();
    void quoteQuestion();
    void tooLongToModify();
};

namespace {
// Runs a script of actions separated by ";": "load a|b|c", "save", "click N", "modify N", "new",
// "type TEXT" (what the edit box holds), "validate TEXT" (the box's text, validated), "cut".
struct Run {
    SentenceTableModel model;
    SentenceEditing editing{model};
    QString box;

    void play(const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString action = step.trimmed().section(QLatin1Char(' '), 0, 0);
            const QString argument = step.trimmed().section(QLatin1Char(' '), 1);
            if (action == "load") {
                editing.loaded(argument.split(QLatin1Char('|')));
            } else if (action == "save") {
                editing.saved(model.sentences());
            } else if (action == "click") {
                editing.choose(argument.toInt());
            } else if (action == "modify") {
                if (editing.modify(argument.toInt()) == SentenceEditing::ModifyStart::Started)
                    box = editing.sentence(argument.toInt());
            } else if (action == "new") {
                editing.startNew();
                box.clear();
            } else if (action == "type") {
                box = argument;
            } else if (action == "validate") {
                box = argument;
                editing.validate(box);
                box.clear();
            } else if (action == "cut") {
                editing.cut();
            } else {
                QFAIL(qPrintable("unknown action " + action));
            }
        }
    }
    QString numbers() const
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.index(row, SentenceTableModel::NumberColumn).data().toString();
        return out.join(QLatin1Char(','));
    }
};
}

void tst_SentenceEditing::sequences_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("list");     // the sentences, "|" between them
    QTest::addColumn<QString>("numbers");  // the rows' numbers
    QTest::addColumn<int>("modifiedRow");
    QTest::addColumn<bool>("unsaved");

    QTest::newRow("a new sentence in an empty list")
        << "new; validate Le chat dort." << "Le chat dort." << "1" << 0 << true;
    QTest::newRow("new sentences go last")
        << "load a|b; new; validate c; new; validate d" << "a|b|c|d" << "1,2,3,4" << 0 << true;
    QTest::newRow("a change replaces its row")
        << "load a|b|c; modify 2; validate B" << "a|B|c" << "1,2,3" << 2 << true;
    QTest::newRow("the row being changed cut: the text goes last")
        << "load a|b|c; modify 2; click 2; cut; validate B" << "a|c|B" << "1,2,3" << 3 << true;
    QTest::newRow("a row above cut: the change follows its row")
        << "load a|b|c; modify 3; click 1; cut; validate C" << "b|C" << "1,2" << 2 << true;
    QTest::newRow("a row below cut: the change stays")
        << "load a|b|c; modify 1; click 3; cut; validate A" << "A|b" << "1,2" << 1 << true;
    QTest::newRow("the list replaced during a change: the text goes last")
        << "load a|b|c; modify 2; load x|y; validate B" << "x|y|B" << "1,2,3" << 3 << true;
    QTest::newRow("the last sentence cut leaves a blank row without number")
        << "load a; click 1; cut" << "" << "" << 0 << true;
    QTest::newRow("the blank row goes with the first sentence")
        << "load a; click 1; cut; new; validate b" << "b" << "1" << 0 << true;
    QTest::newRow("a double-click on a blank first row gives back its number")
        << "load a; click 1; cut; modify 1" << "" << "1" << 1 << true;
    QTest::newRow("a cut of no row changes nothing")
        << "load a|b; save; click 5; cut" << "a|b" << "1,2" << 0 << false;
    QTest::newRow("loaded and untouched")
        << "load a|b" << "a|b" << "1,2" << 0 << false;
    QTest::newRow("saved after the changes")
        << "load a|b; new; validate c; save" << "a|b|c" << "1,2,3" << 0 << false;
    QTest::newRow("a change back to the same text")
        << "load a|b; modify 1; validate a" << "a|b" << "1,2" << 1 << false;
    QTest::newRow("text typed and not validated")
        << "load a|b; modify 1; type a et b" << "a|b" << "1,2" << 1 << true;
    QTest::newRow("the edit box opened but left as it was")
        << "load a|b; modify 1; type a" << "a|b" << "1,2" << 1 << false;
    QTest::newRow("a line break typed is a space")
        << "load a b|c; modify 1; type a\nb" << "a b|c" << "1,2" << 1 << false;
}

void tst_SentenceEditing::sequences()
{
    QFETCH(QString, script);
    Run run;
    run.play(script);
    QTEST(run.model.sentences().join(QLatin1Char('|')), "list");
    QTEST(run.numbers(), "numbers");
    QTEST(run.editing.modifiedRow(), "modifiedRow");
    QTEST(run.editing.hasUnsavedChanges(run.box), "unsaved");
}

void tst_SentenceEditing::quoteQuestion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("proposed"); // empty: no question
    QTest::newRow("no quote") << "Le chat dort." << "";
    QTest::newRow("quotes that read back") << "Il dit \"oui\" et part." << "";
    QTest::newRow("a quote before a comma")
        << "\"Oui\", dit-il." << "«Oui», dit-il.";
}

void tst_SentenceEditing::quoteQuestion()
{
    QFETCH(QString, text);
    QFETCH(QString, proposed);
    SentenceTableModel model;
    SentenceEditing editing(model);
    QCOMPARE(editing.quoteQuestion(text).value_or(QString()), proposed);
    // Kept as it is once: not asked again for that sentence.
    editing.keepStraightQuotes(text);
    QVERIFY(!editing.quoteQuestion(text));
}

void tst_SentenceEditing::tooLongToModify()
{
    SentenceTableModel model;
    SentenceEditing editing(model);
    editing.loaded({QString(SentenceEditing::EditableLength + 1, QLatin1Char('a')), "b"});
    QCOMPARE(editing.modify(1), SentenceEditing::ModifyStart::TooLong);
    QVERIFY(!editing.isEditing());
    QCOMPARE(editing.modify(0), SentenceEditing::ModifyStart::Nothing);
    QCOMPARE(editing.modify(2), SentenceEditing::ModifyStart::Started);
    QCOMPARE(editing.mode(), SentenceEditing::Mode::Modify);
}

QTEST_GUILESS_MAIN(tst_SentenceEditing)
#include "tst_sentenceediting.moc"
