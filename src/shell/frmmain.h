#pragma once
#include <QMainWindow>

struct Services;
class QAction;
class QMdiArea;
class QMenu;

// The main window: the frame of every other window and the menu bar that reaches them.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(Services &services, QWidget *parent = nullptr);
    ~frmMain() override;

    QMdiArea *mdiArea() const { return m_mdi; }

    QMenu *mnuOptions = nullptr;
    QAction *mnuSac2Mot = nullptr;
    QAction *mnuCharger = nullptr;
    QAction *mnuConfig = nullptr;
    QAction *mnuProgression = nullptr;
    QAction *mnuParam = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuEditer = nullptr;
    QAction *mnuPhrases = nullptr;
    QMenu *frmPoint = nullptr;
    QAction *mnuApropos = nullptr;

public slots:
    void mnuSac2Mot_Click();
    void mnuCharger_Click();
    void mnuProgression_Click();
    void mnuParam_Click();
    void mnuExit_Click();
    void mnuPhrases_Click();
    void mnuApropos_Click();

private:
    void buildMenus();

    Services &m_services;
    QMdiArea *m_mdi = nullptr;
};
