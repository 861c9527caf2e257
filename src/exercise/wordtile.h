#pragma once
#include <QLabel>
#include <QPointF>

class SceneScale;

// One word tile of the exercise (Mot(i)): a label showing " word " on a transparent background.
// It keeps its place in twips, as the exercise computes it, and is drawn at the scene's scale.
// Short words get a transparent margin so that the pointer's target is never smaller than
// 32 x 32 pixels at scale 1; the text stays where the rules put it. A pupil using the keyboard
// sees a focus frame around the word Enter or Space will drop.
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

    // Font size in points, laid out at 96 dots per inch like the rest of the scene.
    void setPointSize(double points);
    double pointSize() const { return m_pointSize; }

    // Top-left corner of the text in twips of the scene; place() puts it on the window.
    void setTwipsPos(QPointF pos) { m_twipsPos = pos; }
    QPointF twipsPos() const { return m_twipsPos; }

    // Font, size and place at this scale: the text's corner at the nearest pixel of its twips.
    void place(const SceneScale &scale);
    // Where the text's corner is, in the parent's pixels (the tile's own corner is further up
    // and left by its margin).
    QPoint textOrigin() const;
    // The pointer's target (the whole tile) in twips, relative to the text's corner.
    QRectF targetTwips() const;

    static constexpr int MinimumTarget = 32; // pixels at scale 1

    // The focus frame shows only once the pupil has used the keyboard.
    void setFocusFrameShown(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index;
    double m_pointSize = 16;
    double m_scale = 1.0;
    bool m_focusFrameShown = false;
    QPointF m_twipsPos;
};

// The font families of the program's serif texts, with the metric-compatible fallbacks that
// Linux systems carry, at 96 dots per inch times the scene's scale.
QFont serifFont(double points, bool bold, bool italic, double scale = 1.0);
// The window font of the exercise (bold 8.25 points), with its fallbacks.
QFont windowFont(double scale = 1.0);
