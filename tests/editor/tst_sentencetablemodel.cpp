// The sentence table through Qt's standard model calls, without any window.
#include "editor/sentencetablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

class tst_SentenceTableModel : public QObject
{
    Q_OBJECT
private slots:
    void emptyListIsOneBlankRow();
    void standardCalls();
    void outOfRangeCallsChangeNothing_data();
    void outOfRangeCallsChangeNothing();
};

namespace {
QStringList numbers(const SentenceTableModel &model)
{
    QStringList list;
    for (int row = 0; row < model.rowCount(); ++row)
        list << model.index(row, SentenceTableModel::NumberColumn).data().toString();
    return list;
}
}

void tst_SentenceTableModel::emptyListIsOneBlankRow()
{
    SentenceTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.sentences(), QStringList{QString()});
    QCOMPARE(numbers(model), QStringList{QString()});
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("N°"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Liste des phrases :"));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));

    model.setSentences({"A", "B"});
    QCOMPARE(numbers(model), (QStringList{"1", "2"}));
    model.setSentences({});
    QCOMPARE(model.sentences(), QStringList{QString()});
}

void tst_SentenceTableModel::standardCalls()
{
    SentenceTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSentences({"A", "B", "C"});

    QVERIFY(model.insertRows(1, 2));
    QCOMPARE(model.sentences(), (QStringList{"A", "", "", "B", "C"}));
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("nouvelle")));
    QCOMPARE(model.index(1, 1).data(Qt::EditRole).toString(), QStringLiteral("nouvelle"));
    QCOMPARE(numbers(model), (QStringList{"1", "", "", "2", "3"}));
    model.renumber();
    QCOMPARE(numbers(model), (QStringList{"1", "2", "3", "4", "5"}));

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QVERIFY(model.removeRows(0, 3));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.sentences(), (QStringList{"B", "C"}));
    QVERIFY(model.insertRows(2, 1)); // at the end
    QCOMPARE(model.rowCount(), 3);
}

void tst_SentenceTableModel::outOfRangeCallsChangeNothing_data()
{
    QTest::addColumn<QString>("call");
    QTest::newRow("insert past the end") << "insert 4";
    QTest::newRow("insert before the start") << "insert -1";
    QTest::newRow("remove past the end") << "remove 2 2";
    QTest::newRow("remove nothing") << "remove 0 0";
    QTest::newRow("set a missing row") << "set 3";
}

void tst_SentenceTableModel::outOfRangeCallsChangeNothing()
{
    QFETCH(QString, call);
    SentenceTableModel model;
    model.setSentences({"A", "B", "C"});
    const QStringList words = call.split(' ');
    bool done = true;
    if (words[0] == "insert")
        done = model.insertRows(words[1].toInt(), 1);
    else if (words[0] == "remove")
        done = model.removeRows(words[1].toInt(), words[2].toInt());
    else
        done = model.setData(model.index(words[1].toInt(), 1), QStringLiteral("X"));
    QVERIFY(!done);
    QCOMPARE(model.sentences(), (QStringList{"A", "B", "C"}));
}

QTEST_GUILESS_MAIN(tst_SentenceTableModel)
#include "tst_sentencetablemodel.moc"
