#include "pupilreport.h"

#include "recordformat.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int MaxWords = 8; // the words listed: the most frequent ones

const QColor FaintColour(0x80, 0x80, 0x80); // an exercise without a mark
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
    , m_chart(all, from, to, pupil, QStringLiteral("Notes de ") + pupil)
{
    SummaryFilter period;
    period.from = from;
    period.to = to;
    period.pupil = pupil;
    for (const ExerciseSummary &e : all) {
        if (period.accepts(e))
            m_exercises.push_back(e);
    }
    std::stable_sort(m_exercises.begin(), m_exercises.end(),
                     [](const ExerciseSummary &a, const ExerciseSummary &b) { return a.start < b.start; });
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
    m_chart.paint(painter, chart, font(8), mm);
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
                painter.setPen(e.mark ? Qt::black : FaintColour);
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
