#include "frmmain.h"

#include "common/apptexts.h"
#include "common/services.h"
#include "journal/journal.h"

#include <QMdiArea>
#include <QMenuBar>

frmMain::frmMain(Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setWindowTitle(AppTexts::MainCaption);
    m_mdi = new QMdiArea(this);
    m_mdi->setBackground(Qt::white);
    setCentralWidget(m_mdi);
    buildMenus();
    resize(640, 480);
}

frmMain::~frmMain() = default;

void frmMain::buildMenus()
{
    mnuOptions = menuBar()->addMenu(QStringLiteral("&Rubriques"));
    mnuSac2Mot = mnuOptions->addAction(QStringLiteral("&Commencer"));
    mnuSac2Mot->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuCharger = mnuOptions->addAction(QStringLiteral("Charger exercice"));
    mnuOptions->addSeparator();
    mnuConfig = mnuOptions->addAction(QStringLiteral("&Evaluations"));
    mnuConfig->setEnabled(false);
    mnuProgression = mnuOptions->addAction(QStringLiteral("Progression"));
    mnuParam = mnuOptions->addAction(QStringLiteral("&Paramètres"));
    mnuOptions->addSeparator();
    mnuExit = mnuOptions->addAction(QStringLiteral("&Quitter"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuEditer = menuBar()->addMenu(QStringLiteral("&Editer"));
    mnuPhrases = mnuEditer->addAction(QStringLiteral("Editer les phrases"));

    frmPoint = menuBar()->addMenu(QStringLiteral("&?"));
    mnuApropos = frmPoint->addAction(QStringLiteral("&A propos de ..."));

    connect(mnuSac2Mot, &QAction::triggered, this, &frmMain::mnuSac2Mot_Click);
    connect(mnuCharger, &QAction::triggered, this, &frmMain::mnuCharger_Click);
    connect(mnuProgression, &QAction::triggered, this, &frmMain::mnuProgression_Click);
    connect(mnuParam, &QAction::triggered, this, &frmMain::mnuParam_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuPhrases, &QAction::triggered, this, &frmMain::mnuPhrases_Click);
    connect(mnuApropos, &QAction::triggered, this, &frmMain::mnuApropos_Click);
}

void frmMain::mnuSac2Mot_Click() {}
void frmMain::mnuCharger_Click() {}

void frmMain::mnuProgression_Click()
{
    m_services.journal.AjoutProgress(QStringLiteral("Consultation de la progression"), true);
    m_services.journal.show();
}

void frmMain::mnuParam_Click() {}
void frmMain::mnuExit_Click() {}
void frmMain::mnuPhrases_Click() {}
void frmMain::mnuApropos_Click() {}
