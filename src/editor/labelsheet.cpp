#include "labelsheet.h"

#include "common/sentencefile.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {
// Sizes in millimetres, turned into device units when painting.
constexpr qreal LabelPoints = 22;   // the words: large enough for a 6-year-old to read
constexpr qreal MinimumPoints = 4;  // a sentence shrinks to this at worst to fit the page
constexpr qreal SmallPoints = 11;   // the name field and the instruction
constexpr qreal PaddingMm = 2.5;    // inside a box, around its word
constexpr qreal GapMm = 3;          // between boxes
constexpr qreal BlockGapMm = 6;     // between two sentences

// One sentence's layout at a given word size, its boxes placed from (0, 0).
struct Block {
    QFont font;
    qreal baseline = 0; // from a box's top
    QList<QRectF> boxes;
    qreal boxesBottom = 0;
    int rows = 0;
    qreal height = 0;
};
}

LabelSheet::LabelSheet(const QStringList &sentences, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int i = 0; i < sentences.size(); ++i) {
        QStringList words = shuffledWords(sentences.at(i), random);
        if (words.isEmpty())
            continue;
        m_words.append(words);
        m_indexes.append(i);
    }
}

QFont LabelSheet::labelFont()
{
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Andika"))
                     ? QFont(QStringLiteral("Andika"))
                     : QGuiApplication::font();
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QStringList LabelSheet::shuffledWords(const QString &sentence, QRandomGenerator &random)
{
    const QStringList words =
        SentenceFile::trimSpaces(sentence).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList shuffled = words;
    for (qsizetype i = shuffled.size() - 1; i > 0; --i)
        shuffled.swapItemsAt(i, random.bounded(int(i) + 1));
    // Turning the list by one changes it unless every word is the same: then no order can
    // differ from the sentence's.
    if (shuffled == words && shuffled.size() > 1)
        std::rotate(shuffled.begin(), shuffled.begin() + 1, shuffled.end());
    return shuffled;
}

bool LabelSheet::paint(QPagedPaintDevice &device)
{
    m_boxes.clear();
    m_pages = 0;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const qreal mm = device.logicalDpiX() / 25.4;
    const QRectF page(0, 0, device.width(), device.height());
    const qreal padding = PaddingMm * mm;
    const qreal gap = GapMm * mm;

    QFont small = labelFont();
    small.setPointSizeF(SmallPoints);
    const QFontMetricsF smallMetrics(small, &device);
    const qreal headerHeight = smallMetrics.height() * 1.6;

    // Lays out one sentence's words at `points`, wrapping the boxes at the page's width.
    const auto layout = [&](const QStringList &words, qreal points) {
        Block block;
        block.font = labelFont();
        block.font.setPointSizeF(points);
        const QFontMetricsF metrics(block.font, &device);
        // The font's line height leaves room for stacked accents no French word has: the
        // boxes are as high as the ink of capitals with accents and of descenders.
        const QRectF ink = metrics.tightBoundingRect(QStringLiteral("ÉÀÇÊhdgjpqy"));
        const qreal boxHeight = ink.height() + 2 * padding;
        block.baseline = padding - ink.top();
        qreal x = 0;
        qreal y = headerHeight;
        block.rows = 1;
        for (const QString &word : words) {
            const qreal width = std::min(metrics.horizontalAdvance(word) + 2 * padding,
                                         page.width());
            if (x > 0 && x + width > page.width()) {
                x = 0;
                y += boxHeight + gap;
                ++block.rows;
            }
            block.boxes.append(QRectF(x, y, width, boxHeight));
            x += width + gap;
        }
        block.boxesBottom = y + boxHeight;
        // The instruction, then one ruled line per row of boxes, as high as a box.
        block.height = block.boxesBottom + gap + smallMetrics.height()
                       + block.rows * (boxHeight + gap);
        return block;
    };
    const auto fits = [&](const QStringList &words, const Block &block, qreal points) {
        const QFontMetricsF metrics(block.font, &device);
        const bool wordsFit = std::all_of(words.begin(), words.end(), [&](const QString &w) {
            return metrics.horizontalAdvance(w) + 2 * padding <= page.width();
        });
        return (wordsFit && block.height <= page.height()) || points <= MinimumPoints;
    };

    qreal top = 0;
    bool pageStarted = false;
    for (int s = 0; s < m_words.size(); ++s) {
        const QStringList &words = m_words.at(s);
        qreal points = LabelPoints;
        Block block = layout(words, points);
        while (!fits(words, block, points)) {
            points = std::max(MinimumPoints, points - 1);
            block = layout(words, points);
        }
        if (pageStarted && top + block.height > page.height()) {
            if (!device.newPage())
                return false;
            top = 0;
            pageStarted = false;
        }
        if (!pageStarted) {
            ++m_pages;
            pageStarted = true;
        } else {
            // A dotted line between two sentences shows where to cut the sheet.
            painter.setPen(QPen(Qt::gray, 0.3 * mm, Qt::DotLine));
            painter.drawLine(QPointF(0, top - BlockGapMm * mm / 2),
                             QPointF(page.width(), top - BlockGapMm * mm / 2));
        }

        painter.setFont(small);
        painter.setPen(Qt::black);
        const qreal baseline = top + smallMetrics.ascent();
        const QString name = QStringLiteral("Prénom :");
        painter.drawText(QPointF(0, baseline), name);
        const qreal nameEnd = smallMetrics.horizontalAdvance(name) + 2 * mm;
        painter.setPen(QPen(Qt::black, 0.2 * mm));
        painter.drawLine(QPointF(nameEnd, baseline + 1 * mm),
                         QPointF(std::min(page.width(), nameEnd + 70 * mm), baseline + 1 * mm));
        const QString number = QStringLiteral("Phrase %1").arg(m_indexes.at(s) + 1);
        painter.drawText(QPointF(page.width() - smallMetrics.horizontalAdvance(number), baseline),
                         number);

        // Dashed boxes: the lines to cut along.
        painter.setFont(block.font);
        for (int w = 0; w < words.size(); ++w) {
            const QRectF box = block.boxes.at(w).translated(0, top);
            painter.setPen(QPen(Qt::black, 0.3 * mm, Qt::DashLine));
            painter.drawRect(box);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(box.left() + padding, box.top() + block.baseline), words.at(w));
            m_boxes.append({m_indexes.at(s), words.at(w), box, m_pages});
        }

        painter.setFont(small);
        const qreal instructionTop = top + block.boxesBottom + gap;
        painter.drawText(QPointF(0, instructionTop + smallMetrics.ascent()),
                         QStringLiteral("Colle les étiquettes dans l'ordre :"));
        const qreal rowHeight = block.boxes.first().height() + gap;
        painter.setPen(QPen(Qt::black, 0.3 * mm));
        for (int r = 1; r <= block.rows; ++r) {
            const qreal y = instructionTop + smallMetrics.height() + r * rowHeight - gap / 2;
            painter.drawLine(QPointF(0, y), QPointF(page.width(), y));
        }
        top += block.height + BlockGapMm * mm;
    }
    return painter.end();
}
