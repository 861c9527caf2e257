#pragma once
#include "about/sysinfo.h"

#include <QDialog>
#include <QMargins>

struct Services;
class QLabel;
class QPushButton;

// The About box: the program's title, version, credits and logo, and a button that starts the
// system's information tool where there is one. Built anew at each opening, destroyed on close.
class frmApropos : public QDialog
{
    Q_OBJECT
public:
    frmApropos(Services &services, QWidget *mainWindow);
    ~frmApropos() override;

    // Author credit and addresses shown in the box: our own, no third party's.
    static const QString Auteur;
    static const QString SiteWeb;
    static const QString Email;

    // Replaces how the system information tool is looked up and started (tests).
    void setSysInfoAccess(SysInfo::Access access) { m_sysInfo = std::move(access); }

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdOK = nullptr;

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void centrer();

    Services &m_services;
    QWidget *m_mainWindow;
    SysInfo::Access m_sysInfo;
    QMargins m_centredWithFrame; // the frame the box was last centred with
};
