// The marks chart of the summary window and of the printed report: what it draws from the
// exercises, the dates under it at the window's smallest width, its text for screen readers.
#include "records/markchart.h"
#include "records/recordformat.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {
ExerciseSummary marked(const QString &pupil, const QDate &day, int hour, std::optional<int> mark)
{
    ExerciseSummary e;
    e.pupil = pupil;
    e.start = RecordFormat::localSeconds(day, hour * 3600);
    e.end = e.start + 300;
    e.mark = mark;
    return e;
}

std::vector<double> marksOf(const std::vector<MarkChart::Point> &points)
{
    std::vector<double> out;
    for (const MarkChart::Point &p : points)
        out.push_back(p.mark);
    return out;
}

const QDate Monday(2026, 12, 7);

// Tom and Léa over two days; Léa's unfinished exercise has no mark.
std::vector<ExerciseSummary> twoDays()
{
    return {marked(QStringLiteral("Tom"), Monday, 9, 11), marked(QStringLiteral("Léa"), Monday, 10, 17),
            marked(QStringLiteral("Léa"), Monday, 11, std::nullopt),
            marked(QStringLiteral("Tom"), Monday.addDays(1), 9, 13),
            marked(QStringLiteral("Tom"), Monday.addDays(1), 14, 16)};
}
}

class TestMarkChart : public QObject
{
    Q_OBJECT
private slots:
    void classAndPupil();
    void weeksOverTwoMonths();
    void datesReadableAt640_data();
    void datesReadableAt640();
    void toldInWords();
    void paintsWithinItsArea();
};

void TestMarkChart::classAndPupil()
{
    const MarkChart everyone(twoDays(), Monday, Monday.addDays(1));
    QVERIFY(!everyone.isEmpty());
    QCOMPARE(everyone.title(), QStringLiteral("Notes sur 20"));
    QCOMPARE(everyone.series().size(), std::size_t(1));
    const MarkChart::Series &average = everyone.series().front();
    QCOMPARE(average.name, QStringLiteral("Moyenne de la classe (par jour)"));
    QCOMPARE(marksOf(average.line), (std::vector<double>{14.0, 14.5}));

    // Tom over the class: a dot for each mark, his line through the mean of each day.
    const MarkChart tom(twoDays(), Monday, Monday.addDays(1), QStringLiteral("Tom"));
    QCOMPARE(tom.series().size(), std::size_t(2));
    QCOMPARE(tom.series().at(1).name, QStringLiteral("Tom"));
    QCOMPARE(marksOf(tom.series().at(1).dots), (std::vector<double>{11, 13, 16}));
    QCOMPARE(marksOf(tom.series().at(1).line), (std::vector<double>{11, 14.5}));
    // Each point among the marks it stands for, inside the span drawn.
    for (const MarkChart::Series &s : tom.series()) {
        for (const MarkChart::Point &p : s.line)
            QVERIFY(p.when >= tom.first() && p.when <= tom.last());
    }

    // The period leaves the first day out; a period without a mark draws nothing.
    const MarkChart second(twoDays(), Monday.addDays(1), Monday.addDays(1), QStringLiteral("Léa"));
    QCOMPARE(marksOf(second.series().front().line), std::vector<double>{14.5});
    QVERIFY(second.series().at(1).dots.empty());
    const MarkChart none(twoDays(), Monday.addDays(2), Monday.addDays(9), QStringLiteral("Tom"));
    QVERIFY(none.isEmpty());
    QCOMPARE(none.title(), QStringLiteral("Aucune note sur cette période"));
}

void TestMarkChart::weeksOverTwoMonths()
{
    // Monday and Wednesday of one week, the Monday after: two weeks' points.
    const std::vector<ExerciseSummary> marks{marked(QStringLiteral("Tom"), Monday, 9, 10),
                                             marked(QStringLiteral("Léa"), Monday.addDays(2), 9, 14),
                                             marked(QStringLiteral("Tom"), Monday.addDays(7), 9, 18)};
    const MarkChart days(marks, Monday.addDays(-55), Monday.addDays(7), QStringLiteral("Tom"));
    QVERIFY(!days.weekly());
    QCOMPARE(days.series().front().line.size(), std::size_t(3));
    const MarkChart weeks(marks, Monday.addDays(-56), Monday.addDays(7), QStringLiteral("Tom"));
    QVERIFY(weeks.weekly());
    QCOMPARE(weeks.series().front().name, QStringLiteral("Moyenne de la classe (par semaine)"));
    QCOMPARE(marksOf(weeks.series().front().line), (std::vector<double>{12, 18}));
    QCOMPARE(marksOf(weeks.series().at(1).line), (std::vector<double>{10, 18}));
    QCOMPARE(marksOf(weeks.series().at(1).dots), (std::vector<double>{10, 18}));
}

void TestMarkChart::datesReadableAt640_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("days"); // marks on these many days, from `from`
    QTest::newRow("one exercise") << Monday << Monday << 1;
    QTest::newRow("two days") << Monday << Monday.addDays(1) << 2;
    QTest::newRow("two weeks") << Monday << Monday.addDays(13) << 14;
    QTest::newRow("a term") << QDate(2026, 9, 1) << QDate(2026, 12, 18) << 100;
    QTest::newRow("a school year") << QDate(2026, 9, 1) << QDate(2027, 7, 3) << 300;
    QTest::newRow("three years") << QDate(2024, 9, 1) << QDate(2027, 7, 3) << 1000;
}

// The chart in a 640-pixel window: the dates under it never run into each other, each is
// written once, and there are enough of them to read the time.
void TestMarkChart::datesReadableAt640()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, days);
    std::vector<ExerciseSummary> marks;
    for (int d = 0; d < days; ++d)
        marks.push_back(marked(QStringLiteral("Tom"), from.addDays(d), 9, d % 21));
    const MarkChart chart(marks, from, to);
    const QFontMetricsF metrics(QGuiApplication::font());
    const qreal width = 580; // the plot, between the marks' axis and the margins
    const std::vector<MarkChart::Tick> ticks = chart.ticks(width, metrics);
    QVERIFY2(ticks.size() >= 3, qPrintable(QString::number(ticks.size())));
    QStringList labels;
    const auto x = [&](qint64 when) { return width * double(when - chart.first()) / double(chart.last() - chart.first()); };
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const MarkChart::Tick &t = ticks[i];
        QVERIFY(t.when >= chart.first() && t.when <= chart.last());
        labels.append(t.label);
        if (i > 0) {
            const qreal room = (metrics.horizontalAdvance(t.label) + metrics.horizontalAdvance(ticks[i - 1].label)) / 2;
            QVERIFY2(x(t.when) - x(ticks[i - 1].when) >= room + metrics.height(), qPrintable(t.label));
        }
    }
    QCOMPARE(labels.removeDuplicates(), 0);
}

void TestMarkChart::toldInWords()
{
    const MarkChart tom(twoDays(), Monday, Monday.addDays(1), QStringLiteral("Tom"));
    QCOMPARE(tom.description(),
             QStringLiteral("Notes sur 20, du 07/12/2026 au 08/12/2026. "
                            "Moyenne de la classe (par jour) : 2 jours, de 14,0 à 14,5 ; 14,5 le 08/12/2026. "
                            "Tom : 3 notes, moyenne 13,3, de 11 à 16 ; dernière note 16 le 08/12/2026."));
    const MarkChart lea(twoDays(), Monday.addDays(1), Monday.addDays(1), QStringLiteral("Léa"));
    QVERIFY(lea.description().endsWith(QStringLiteral("Léa : aucune note sur cette période.")));
    QCOMPARE(MarkChart().description(), QStringLiteral("Aucune note sur cette période."));
}

// What is drawn stays in the area given, and the pupil's dots are there.
void TestMarkChart::paintsWithinItsArea()
{
    const MarkChart tom(twoDays(), Monday, Monday.addDays(1), QStringLiteral("Tom"));
    QImage image(640, 300, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QRect area(20, 20, 600, 260);
    {
        QPainter painter(&image);
        tom.paint(painter, area, QGuiApplication::font(), image.logicalDpiX() / 25.4);
    }
    int outside = 0, orange = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (!area.contains(x, y) && c != Qt::white)
                ++outside;
            if (c.red() > 180 && c.green() > 70 && c.green() < 120 && c.blue() < 40)
                ++orange;
        }
    }
    QCOMPARE(outside, 0);
    QVERIFY2(orange > 50, qPrintable(QString::number(orange)));
}

QTEST_MAIN(TestMarkChart)
#include "tst_markchart.moc"
