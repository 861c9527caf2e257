#pragma once
#include "markchart.h"

#include <QWidget>

// The marks chart in a window. Screen readers get its title as the name and the chart told in
// words as the description; it takes the focus with Tab so that they reach it.
class MarkChartView : public QWidget
{
    Q_OBJECT
public:
    explicit MarkChartView(QWidget *parent = nullptr);

    void setChart(MarkChart chart);
    const MarkChart &chart() const { return m_chart; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MarkChart m_chart;
};
