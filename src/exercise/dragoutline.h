#pragma once
#include <QWidget>

// The outline of a word tile that follows the pointer while the tile is dragged. It lets every
// mouse event through, so that the drop goes to the control under the pointer.
class DragOutline : public QWidget
{
    Q_OBJECT
public:
    explicit DragOutline(QWidget *parent);

    // Takes the size, text and font of the tile being dragged.
    void follow(const QWidget &tile, const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
