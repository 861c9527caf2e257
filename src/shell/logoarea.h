#pragma once
#include <QMdiArea>
#include <QPixmap>

// The main window's inner area: white, with the program's logo drawn in its middle, under the
// inner windows.
class LogoArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit LogoArea(QWidget *parent = nullptr);

    static constexpr QSize LogoSize{480, 360};
    // Where the logo lies in the area's viewport.
    QRect logoRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_logo; // rendered once for the screen's pixel ratio
};
