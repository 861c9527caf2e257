#pragma once
#include <QWidget>

class Journal;
class QTableView;

// The journal's window: the grid of lines and its buttons. Refuses closes it did not ask for.
class frmProgression : public QWidget
{
    Q_OBJECT
public:
    explicit frmProgression(Journal &journal, QWidget *parent = nullptr);
    ~frmProgression() override;

    QTableView *MSFlexGrid1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Journal &m_journal;
};
