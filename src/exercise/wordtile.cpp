#include "wordtile.h"

#include "common/apptexts.h"
#include "common/sentencefile.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <cmath>

namespace {
// Points as the window's layout counts them: 96 dots per inch, whatever the screen's setting,
// so that texts keep their size against the fixed pixel layout.
int pixelsForPoints(double points)
{
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}
}

QFont serifFont(double points, bool bold, bool italic)
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelsForPoints(points));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelsForPoints(8.25));
    font.setBold(true);
    return font;
}

WordTile::WordTile(int index, QWidget *parent)
    : QLabel(parent)
    , m_index(index)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::TabFocus);
    setTextFormat(Qt::PlainText);
    setFont(serifFont(m_pointSize, true, true));
}

QString WordTile::word() const
{
    return SentenceFile::trimSpaces(text());
}

void WordTile::setWord(const QString &word)
{
    setText(QLatin1Char(' ') + word + QLatin1Char(' '));
    setToolTip(word);
    setAccessibleName(word);
    // The blank last tile shows nothing: the keyboard does not stop on it.
    setFocusPolicy(SentenceFile::trimSpaces(word).isEmpty() ? Qt::NoFocus : Qt::TabFocus);
}

void WordTile::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor WordTile::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void WordTile::setPointSize(double points)
{
    m_pointSize = points;
    setFont(serifFont(points, true, true));
}

void WordTile::setTwipsPos(QPointF pos)
{
    m_twipsPos = pos;
    move(nearestPixel(pos.x()), nearestPixel(pos.y()));
}

void WordTile::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(0, 0, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
