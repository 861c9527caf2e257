#include "pupilreport.h"

#include "recordformat.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr int MaxWords = 8; // the words listed: the most frequent ones

const QColor PupilColour(0x1f, 0x4e, 0x9a);
const QColor ClassColour(0x80, 0x80, 0x80);
const QColor RuleColour(0xc8, 0xc8, 0xc8);
const QColor ShadeColour(0xf0, 0xf0, 0xf0);

QFont font(qreal points, bool bold = false)
{
    QFont f = QGuiApplication::font();
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString markText(double mark)
{
    return QLocale(QLocale::French).toString(mark, 'f', mark == std::floor(mark) ? 0 : 1);
}

// The columns of the table: title, and share of the page's width.
struct Column {
    QString title;
    qreal share;
};
const Column Columns[] = {{QStringLiteral("Date"), 0.26},          {QStringLiteral("Phrases"), 0.12},
                          {QStringLiteral("Note sur 20"), 0.14},   {QStringLiteral("Temps passé"), 0.15},
                          {QStringLiteral("Mots mal placés"), 0.18}, {QStringLiteral("Mots bleus"), 0.15}};
constexpr int ColumnCount = int(std::size(Columns));

QStringList rowTexts(const ExerciseSummary &e)
{
    return {RecordFormat::toDateTime(e.start).toString(QStringLiteral("dd/MM/yyyy HH:mm")),
            QString::number(e.sentencesPlayed),
            e.mark ? QString::number(*e.mark) : QStringLiteral("non terminé"),
            Summary::duration(e.timeSpent()),
            QString::number(e.wrongDrops),
            QString::number(e.hints)};
}
}

PupilReport::PupilReport(const std::vector<ExerciseSummary> &all, const QString &pupil,
                         const QDate &from, const QDate &to)
    : m_pupil(pupil)
    , m_from(from)
    , m_to(to)
{
    SummaryFilter period;
    period.from = from;
    period.to = to;
    std::map<qint64, std::pair<double, int>> days;
    for (const ExerciseSummary &e : all) {
        if (!period.accepts(e))
            continue;
        if (e.pupil == pupil)
            m_exercises.push_back(e);
        if (e.mark) {
            auto &[sum, count] = days[e.end / 86400];
            sum += *e.mark;
            ++count;
        }
    }
    std::stable_sort(m_exercises.begin(), m_exercises.end(),
                     [](const ExerciseSummary &a, const ExerciseSummary &b) { return a.start < b.start; });
    for (const auto &[day, total] : days)
        m_classAverage.push_back({day * 86400 + 43200, total.first / total.second});
    m_words = Summary::wrongWords(m_exercises);
    if (m_words.size() > std::size_t(MaxWords))
        m_words.resize(MaxWords);
}

QString PupilReport::periodText(const QDate &from, const QDate &to)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    if (from.isValid() && to.isValid())
        return from == to ? QStringLiteral("le %1").arg(from.toString(format))
                          : QStringLiteral("du %1 au %2").arg(from.toString(format), to.toString(format));
    if (from.isValid())
        return QStringLiteral("depuis le %1").arg(from.toString(format));
    if (to.isValid())
        return QStringLiteral("jusqu'au %1").arg(to.toString(format));
    return QStringLiteral("de tous les journaux");
}

QString PupilReport::documentName() const
{
    const QString format = QStringLiteral("yyyy-MM-dd");
    QString name = QStringLiteral("Bilan ") + m_pupil;
    if (m_from.isValid() && m_to.isValid())
        name += QStringLiteral(" %1 au %2").arg(m_from.toString(format), m_to.toString(format));
    return name;
}

bool PupilReport::paint(QPagedPaintDevice &device)
{
    m_pages = 0;
    m_bounds = QRectF();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal mm = device.logicalDpiX() / 25.4;
    const QRectF page(0, 0, device.width(), device.height());
    const auto drew = [this](const QRectF &r) { m_bounds = m_bounds.isNull() ? r : m_bounds.united(r); };
    // A text in a box, cut short with "…" when the box is too narrow.
    const auto text = [&](const QRectF &box, const QString &s, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
        const QString shown = painter.fontMetrics().elidedText(s, Qt::ElideRight, int(box.width()));
        QRectF used;
        painter.drawText(box, flags | Qt::TextSingleLine, shown, &used);
        drew(used);
    };

    const QFont titleFont = font(18, true);
    const QFont normalFont = font(11);
    const QFont headingFont = font(11, true);
    const QFont tableFont = font(9.5);
    const QFont tableHeadFont = font(9, true);
    const QFont footFont = font(8);
    const qreal lineHeight = QFontMetricsF(normalFont, &device).height() * 1.3;
    const qreal rowHeight = QFontMetricsF(tableFont, &device).height() * 1.45;
    const qreal headHeight = QFontMetricsF(tableHeadFont, &device).height() * 1.6;
    const qreal footHeight = QFontMetricsF(footFont, &device).height() + 2 * mm;
    const qreal tableBottom = page.bottom() - footHeight;
    const QString period = periodText(m_from, m_to);

    // The first page: who, when, the figures, the chart and the words; the table follows.
    qreal y = 0;
    painter.setFont(titleFont);
    const qreal titleHeight = painter.fontMetrics().height() * 1.2;
    text(QRectF(0, y, page.width(), titleHeight), QStringLiteral("Bilan de ") + m_pupil);
    y += titleHeight;
    painter.setFont(normalFont);
    text(QRectF(0, y, page.width(), lineHeight), QStringLiteral("Exercices ") + period);
    y += lineHeight;

    int marked = 0, sentences = 0;
    double sum = 0;
    qint64 spent = 0;
    for (const ExerciseSummary &e : m_exercises) {
        sentences += e.sentencesPlayed;
        spent += e.timeSpent();
        if (e.mark) {
            sum += *e.mark;
            ++marked;
        }
    }
    QString figures = m_exercises.empty()
                          ? QStringLiteral("Aucun exercice sur cette période.")
                          : QStringLiteral("%1 exercice%2, %3 phrase%4 jouée%4, temps passé %5")
                                .arg(m_exercises.size())
                                .arg(m_exercises.size() > 1 ? QStringLiteral("s") : QString())
                                .arg(sentences)
                                .arg(sentences > 1 ? QStringLiteral("s") : QString())
                                .arg(Summary::duration(spent));
    if (marked > 0)
        figures += QStringLiteral(", moyenne %1 sur 20.").arg(markText(sum / marked));
    else if (!m_exercises.empty())
        figures += QLatin1Char('.');
    text(QRectF(0, y, page.width(), lineHeight), figures);
    y += lineHeight + 3 * mm;

    const QRectF chart(0, y, page.width(), 75 * mm);
    paintChart(painter, chart, mm);
    drew(chart);
    y = chart.bottom() + 5 * mm;

    painter.setFont(headingFont);
    text(QRectF(0, y, page.width(), lineHeight), QStringLiteral("Mots le plus souvent mal placés"));
    y += lineHeight;
    painter.setFont(normalFont);
    if (m_words.empty()) {
        text(QRectF(0, y, page.width(), lineHeight), QStringLiteral("Aucun mot mal placé sur cette période."));
        y += lineHeight;
    }
    // Two columns, so that the table starts on the first page.
    const int wordRows = (int(m_words.size()) + 1) / 2;
    for (int i = 0; i < int(m_words.size()); ++i) {
        const WrongWordCount &w = m_words[std::size_t(i)];
        const QString line =
            QStringLiteral("« %1 » au lieu de « %2 » : %3 fois")
                .arg(w.dropped, w.expected.isEmpty() ? QStringLiteral("?") : w.expected)
                .arg(w.count);
        const qreal x = i < wordRows ? 0 : page.width() / 2;
        const qreal top = y + (i < wordRows ? i : i - wordRows) * lineHeight;
        text(QRectF(x, top, page.width() / 2 - 2 * mm, lineHeight), line);
    }
    y += wordRows * lineHeight + 5 * mm;

    painter.setFont(headingFont);
    text(QRectF(0, y, page.width(), lineHeight), QStringLiteral("Les exercices"));
    y += lineHeight;

    // The table, as many rows a page as fit above the foot; its head again on each page.
    const auto perPage = [&](qreal top) { return std::max(1, int((tableBottom - top - headHeight) / rowHeight)); };
    const int firstRows = m_exercises.empty() ? 0 : std::min(int(m_exercises.size()), perPage(y));
    const int laterRows = perPage(0);
    const int rest = int(m_exercises.size()) - firstRows;
    const int pages = 1 + (rest > 0 ? (rest + laterRows - 1) / laterRows : 0);

    const auto foot = [&](int number) {
        painter.setFont(footFont);
        painter.setPen(Qt::black);
        const QRectF box(0, page.bottom() - footHeight + 2 * mm, page.width(), footHeight - 2 * mm);
        const QString pageText = QStringLiteral("Page %1 sur %2").arg(number).arg(pages);
        const qreal pageWidth = painter.fontMetrics().horizontalAdvance(pageText) + 2 * mm;
        text(box.adjusted(0, 0, -pageWidth, 0),
             QStringLiteral("Bilan de %1, exercices %2").arg(m_pupil, period));
        text(box, pageText, Qt::AlignRight | Qt::AlignVCenter);
        painter.setPen(RuleColour);
        painter.drawLine(QPointF(0, box.top() - mm), QPointF(page.width(), box.top() - mm));
    };
    const auto head = [&](qreal top) {
        painter.fillRect(QRectF(0, top, page.width(), headHeight), ShadeColour);
        painter.setFont(tableHeadFont);
        painter.setPen(Qt::black);
        qreal x = 0;
        for (const Column &c : Columns) {
            const qreal w = c.share * page.width();
            text(QRectF(x + mm, top, w - 2 * mm, headHeight), c.title,
                 x == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignVCenter);
            x += w;
        }
        return top + headHeight;
    };

    if (m_exercises.empty()) {
        painter.setFont(normalFont);
        text(QRectF(0, y, page.width(), lineHeight), QStringLiteral("Aucun exercice sur cette période."));
    }
    std::size_t next = 0;
    for (int number = 1; number <= pages; ++number) {
        if (number > 1) {
            if (!device.newPage())
                return false;
            y = 0;
        }
        ++m_pages;
        if (next < m_exercises.size()) {
            qreal top = head(y);
            const int rows = number == 1 ? firstRows : laterRows;
            painter.setFont(tableFont);
            for (int r = 0; r < rows && next < m_exercises.size(); ++r, ++next) {
                const ExerciseSummary &e = m_exercises[next];
                if (r % 2 == 1)
                    painter.fillRect(QRectF(0, top, page.width(), rowHeight), ShadeColour);
                painter.setPen(e.mark ? Qt::black : ClassColour);
                const QStringList cells = rowTexts(e);
                qreal x = 0;
                for (int c = 0; c < ColumnCount; ++c) {
                    const qreal w = Columns[c].share * page.width();
                    text(QRectF(x + mm, top, w - 2 * mm, rowHeight), cells.at(c),
                         c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignVCenter);
                    x += w;
                }
                top += rowHeight;
            }
        }
        foot(number);
    }
    return painter.end();
}

void PupilReport::paintChart(QPainter &painter, const QRectF &area, qreal mm)
{
    painter.save();
    painter.setClipRect(area);
    const QFont labels = font(8);
    painter.setFont(labels);
    const QFontMetricsF metrics = painter.fontMetrics();
    const qreal textHeight = metrics.height();

    // The legend on top.
    const QString pupilName = QStringLiteral("Notes de ") + m_pupil;
    const QString className = QStringLiteral("Moyenne de la classe");
    qreal x = area.left() + 10 * mm;
    const qreal legendY = area.top() + textHeight / 2;
    painter.setPen(QPen(PupilColour, 0.5 * mm));
    painter.drawLine(QPointF(x, legendY), QPointF(x + 8 * mm, legendY));
    painter.setBrush(PupilColour);
    painter.drawEllipse(QPointF(x + 4 * mm, legendY), 0.8 * mm, 0.8 * mm);
    x += 10 * mm;
    painter.setPen(Qt::black);
    const qreal pupilWidth = std::min(metrics.horizontalAdvance(pupilName), area.width() / 2 - 30 * mm);
    painter.drawText(QRectF(x, area.top(), pupilWidth, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(pupilName, Qt::ElideRight, pupilWidth));
    x += pupilWidth + 8 * mm;
    painter.setPen(QPen(ClassColour, 0.4 * mm, Qt::DashLine));
    painter.drawLine(QPointF(x, legendY), QPointF(x + 8 * mm, legendY));
    x += 10 * mm;
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x, area.top() + metrics.ascent()), className);

    // Marks 0 to 20 upwards, days left to right.
    const qreal axisWidth = metrics.horizontalAdvance(QStringLiteral("20")) + 2 * mm;
    const QRectF plot(area.left() + axisWidth, area.top() + textHeight + 3 * mm,
                      area.width() - axisWidth - 3 * mm, area.height() - 2 * textHeight - 5 * mm);
    qint64 first = m_from.isValid() ? RecordFormat::localSeconds(m_from, 0) : -1;
    qint64 last = m_to.isValid() ? RecordFormat::localSeconds(m_to, 86400) : -1;
    for (const ExerciseSummary &e : m_exercises) {
        if (first < 0 || e.end < first)
            first = m_from.isValid() ? first : e.end;
        if (!m_to.isValid())
            last = std::max(last, e.end);
    }
    if (first < 0)
        first = 0;
    if (last <= first)
        last = first + 86400;
    const auto px = [&](qint64 when) { return plot.left() + plot.width() * double(when - first) / double(last - first); };
    const auto py = [&](double mark) { return plot.bottom() - plot.height() * mark / 20.0; };

    for (int mark = 0; mark <= 20; mark += 5) {
        painter.setPen(QPen(RuleColour, 0.2 * mm));
        painter.drawLine(QPointF(plot.left(), py(mark)), QPointF(plot.right(), py(mark)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), py(mark) - textHeight / 2, axisWidth - mm, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(mark));
    }
    const int ticks = 6;
    const QString dateFormat = last - first > 400 * 86400 ? QStringLiteral("dd/MM/yy") : QStringLiteral("dd/MM");
    for (int i = 0; i < ticks; ++i) {
        const qint64 when = first + (last - first) * i / (ticks - 1);
        const QString label = RecordFormat::toDateTime(std::min(when, last - 1)).date().toString(dateFormat);
        const qreal w = metrics.horizontalAdvance(label) + mm;
        const qreal cx = std::clamp(px(when), area.left() + w / 2, area.right() - w / 2);
        painter.setPen(QPen(RuleColour, 0.2 * mm));
        painter.drawLine(QPointF(px(when), plot.bottom()), QPointF(px(when), plot.bottom() + mm));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(cx - w / 2, plot.bottom() + 1.5 * mm, w, textHeight), Qt::AlignCenter, label);
    }

    // The class first, so that the pupil's marks are drawn over it.
    if (m_classAverage.size() > 1) {
        QPainterPath average;
        average.moveTo(px(m_classAverage.front().day), py(m_classAverage.front().mark));
        for (const DayAverage &d : m_classAverage)
            average.lineTo(px(d.day), py(d.mark));
        painter.setPen(QPen(ClassColour, 0.4 * mm, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(average);
    } else if (m_classAverage.size() == 1) {
        painter.setPen(QPen(ClassColour, 0.4 * mm, Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), py(m_classAverage.front().mark)),
                         QPointF(plot.right(), py(m_classAverage.front().mark)));
    }
    // The pupil's line goes through the mean of each day, the points are every mark: two
    // exercises of a day do not zigzag.
    std::map<qint64, std::pair<double, int>> days;
    for (const ExerciseSummary &e : m_exercises) {
        if (e.mark) {
            auto &[sum, count] = days[e.end / 86400];
            sum += *e.mark;
            ++count;
        }
    }
    const bool any = !days.empty();
    QPainterPath marks;
    for (const auto &[day, total] : days) {
        const QPointF p(px(day * 86400 + 43200), py(total.first / total.second));
        if (marks.elementCount() == 0)
            marks.moveTo(p);
        else
            marks.lineTo(p);
    }
    painter.setPen(QPen(PupilColour, 0.35 * mm));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(marks);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PupilColour);
    const qreal radius = m_exercises.size() > 120 ? 0.5 * mm : 0.8 * mm;
    for (const ExerciseSummary &e : m_exercises) {
        if (e.mark)
            painter.drawEllipse(QPointF(px(e.end), py(*e.mark)), radius, radius);
    }
    if (!any) {
        painter.setPen(Qt::black);
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("Aucune note sur cette période"));
    }
    painter.setPen(QPen(Qt::black, 0.25 * mm));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}
