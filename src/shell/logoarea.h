#pragma once
#include <QMdiArea>

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
    // The logo is drawn at each paint rather than kept as a picture: the area is seldom
    // repainted, mostly under the inner windows, and the picture would cost more memory than
    // the rest of the window.
    void paintEvent(QPaintEvent *event) override;
};
