#pragma once
#include <QLabel>
#include <QPointF>

// One word tile of the exercise (Mot(i)): a label showing " word " on a transparent background.
// It keeps its place in twips, as the exercise computes it, and shows a focus frame so that a
// pupil using the keyboard sees which word Enter or Space will drop.
class WordTile : public QLabel
{
    Q_OBJECT
public:
    WordTile(int index, QWidget *parent);

    int index() const { return m_index; }

    // The word without its surrounding spaces.
    QString word() const;

    // Text, tooltip and accessible name for the word; the tile's text is " word ".
    void setWord(const QString &word);

    void setTextColor(const QColor &color);
    QColor textColor() const;

    // Font size in points, laid out at 96 dots per inch like the rest of the window.
    void setPointSize(double points);
    double pointSize() const { return m_pointSize; }

    // Top-left corner in twips; the tile sits at the nearest pixel.
    void setTwipsPos(QPointF pos);
    QPointF twipsPos() const { return m_twipsPos; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
    double m_pointSize = 16;
    QPointF m_twipsPos;
};

// The font families of the program's serif texts, with the metric-compatible fallbacks that
// Linux systems carry.
QFont serifFont(double points, bool bold, bool italic);
// The window font of the exercise (bold 8.25 points), with its fallbacks.
QFont windowFont();
