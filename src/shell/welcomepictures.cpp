#include "welcomepictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
// Places the painter's origin and scale so that a design of `designed` units fills `rect`.
void fitDesign(QPainter &painter, const QRectF &rect, QSizeF designed)
{
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / designed.width(), rect.height() / designed.height());
}

// A twinkle: a four-pointed star around (x, y).
QPainterPath twinkle(qreal x, qreal y, qreal tip, qreal waist)
{
    QPainterPath star;
    star.moveTo(x, y - tip);
    star.lineTo(x + waist, y - waist);
    star.lineTo(x + tip, y);
    star.lineTo(x + waist, y + waist);
    star.lineTo(x, y + tip);
    star.lineTo(x - waist, y + waist);
    star.lineTo(x - tip, y);
    star.lineTo(x - waist, y - waist);
    star.closeSubpath();
    return star;
}

QFont boldSans(qreal pixels)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(pixels));
    return font;
}

// `text` as an outline whose baseline is centred on (x, y).
QPainterPath centredText(const QFont &font, qreal x, qreal y, const QString &text)
{
    QPainterPath path;
    path.addText(x - QFontMetricsF(font).horizontalAdvance(text) / 2, y, font, text);
    return path;
}

// A gradient across the bounding box of whatever it fills, from its top left corner to its
// bottom right one.
QLinearGradient diagonal(std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient gradient(0, 0, 1, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    for (const auto &[at, colour] : stops)
        gradient.setColorAt(at, colour);
    return gradient;
}

struct Letter {
    char letter;
    qreal x, y;     // the middle of its baseline
    qreal angle;    // turned about (x, turnY)
    qreal turnY;
    QRgb fill, stroke;
};

constexpr Letter Letters[] = {
    {'A', 60, 172, -10, 134, 0xef476f, 0xc9304f},
    {'B', 146, 164, 7, 124, 0xff9f1c, 0xd97d00},
    {'C', 234, 174, -5, 134, 0x2ec27e, 0x1e9660},
    {'D', 320, 164, 9, 124, 0x3a86ff, 0x2163cc},
    {'E', 406, 172, -7, 134, 0x9b5de5, 0x7a3fc2},
};
// Each letter's soft shadow lies this far to the right of and below it.
constexpr QPointF ShadowOffset(6, 6);

QPainterPath turnedLetter(const QFont &font, const Letter &letter, QPointF offset)
{
    const QPointF turn = QPointF(letter.x, letter.turnY) + offset;
    QTransform turned;
    turned.translate(turn.x(), turn.y());
    turned.rotate(letter.angle);
    turned.translate(-turn.x(), -turn.y());
    return turned.map(centredText(font, letter.x + offset.x(), letter.y + offset.y(),
                                  QString(QLatin1Char(letter.letter))));
}
} // namespace

void drawWelcomeLogo(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    fitDesign(painter, rect, {480, 360});
    painter.fillRect(QRectF(0, 0, 480, 360), Qt::white);
    painter.setPen(Qt::NoPen);

    painter.setBrush(QColor(0xffd34d));
    painter.drawPath(twinkle(28, 50, 14, 4));
    painter.drawPath(twinkle(452, 38, 10, 3));
    painter.drawPath(twinkle(440, 224, 10, 3));
    painter.setBrush(QColor(0x9be3c4));
    painter.drawEllipse(QPointF(110, 30), 5, 5);
    painter.setBrush(QColor(0xffb3c7));
    painter.drawEllipse(QPointF(372, 22), 6, 6);
    painter.setBrush(QColor(0xa9d1ff));
    painter.drawEllipse(QPointF(36, 208), 6, 6);

    const QFont letters = boldSans(112);
    for (const Letter &letter : Letters)
        painter.fillPath(turnedLetter(letters, letter, ShadowOffset), QColor(0, 0, 0, 20));
    for (const Letter &letter : Letters) {
        const QPainterPath outline = turnedLetter(letters, letter, {});
        painter.fillPath(outline, QColor(letter.fill));
        painter.strokePath(outline, QPen(QColor(letter.stroke), 4, Qt::SolidLine, Qt::RoundCap,
                                         Qt::RoundJoin));
    }

    // The feather, held like a quill over the name.
    painter.save();
    painter.translate(418, 232);
    painter.rotate(28);
    QPainterPath vane(QPointF(0, -72));
    vane.cubicTo(20, -60, 26, -34, 20, -12);
    vane.lineTo(11, -10);
    vane.lineTo(17, 2);
    vane.cubicTo(14, 20, 8, 32, 0, 42);
    vane.cubicTo(-10, 30, -18, 16, -20, 4);
    vane.lineTo(-12, 0);
    vane.lineTo(-22, -10);
    vane.cubicTo(-26, -36, -18, -60, 0, -72);
    vane.closeSubpath();
    painter.fillPath(vane, diagonal({{0, QColor(0x7fd3f5)}, {0.55, QColor(0x8e7cf0)},
                                     {1, QColor(0xf277b8)}}));
    painter.setPen(QPen(QColor(0x5a4a8a), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, -62), QPointF(0, 66));
    QColor barb(Qt::white);
    barb.setAlphaF(0.6);
    painter.setPen(QPen(barb, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QLineF barbs[] = {{0, -40, 12, -49}, {0, -22, 15, -31}, {0, 16, 10, 8},
                            {0, -44, -12, -53}, {0, -26, -16, -35}, {0, 18, -11, 9}};
    painter.drawLines(barbs, int(std::size(barbs)));
    painter.restore();

    painter.fillPath(centredText(boldSans(76), 200, 300, QStringLiteral("Plumalin")),
                     QColor(0x1f4e99));
    QPainterPath underline(QPointF(54, 322));
    underline.quadTo(200, 344, 346, 322);
    painter.strokePath(underline, QPen(QColor(0xffc93c), 6, Qt::SolidLine, Qt::RoundCap));
    painter.restore();
}

void drawProgramIcon(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    fitDesign(painter, rect, {64, 64});
    QLinearGradient paper(0, 0, 0, 1);
    paper.setCoordinateMode(QGradient::ObjectMode);
    paper.setColorAt(0, QColor(0xfff4c2));
    paper.setColorAt(1, QColor(0xffe08a));
    painter.setPen(QPen(QColor(0xe8a93a), 2.5));
    painter.setBrush(paper);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);

    // The letter, drawn as strokes rather than text: the same without any font, and readable
    // down to 16 x 16.
    QPainterPath letter(QPointF(11, 53));
    letter.lineTo(27, 11);
    letter.lineTo(43, 53);
    letter.moveTo(17.5, 38);
    letter.lineTo(36.5, 38);
    painter.strokePath(letter, QPen(QColor(0xb8233f), 12, Qt::SolidLine, Qt::RoundCap,
                                    Qt::RoundJoin));
    painter.strokePath(letter, QPen(QColor(0xef476f), 8, Qt::SolidLine, Qt::RoundCap,
                                    Qt::RoundJoin));

    painter.translate(51, 32);
    painter.rotate(20);
    QPainterPath vane(QPointF(0, -22));
    vane.cubicTo(8, -16, 9, -4, 0, 12);
    vane.cubicTo(-9, -4, -8, -16, 0, -22);
    vane.closeSubpath();
    painter.setPen(QPen(QColor(0x4a3d8f), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(diagonal({{0, QColor(0x6fcaf2)}, {1, QColor(0x8e6cf0)}}));
    painter.drawPath(vane);
    painter.setPen(QPen(QColor(0x4a3d8f), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, -18), QPointF(0, 22));
    painter.restore();
}
