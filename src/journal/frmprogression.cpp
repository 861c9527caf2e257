#include "frmprogression.h"

#include "journal.h"
#include "journalmodel.h"

#include <QCloseEvent>
#include <QTableView>
#include <QVBoxLayout>

frmProgression::frmProgression(Journal &journal, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_journal(journal)
{
    setWindowTitle(QStringLiteral("Progression de l'exercice ..."));
    auto *layout = new QVBoxLayout(this);
    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setModel(&journal.model());
    layout->addWidget(MSFlexGrid1);
}

frmProgression::~frmProgression() = default;

void frmProgression::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
