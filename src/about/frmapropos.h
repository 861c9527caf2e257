#pragma once
#include <QDialog>
#include <QMargins>

class MessageBoxes;
class SystemTools;
class QLabel;
class QPushButton;

// The About box: the program's title, version, credits and logo, and a button that starts the
// system's information tool where there is one. Built anew at each opening, destroyed on close.
class frmApropos : public QDialog
{
    Q_OBJECT
public:
    // Centred on `mainWindow`; the system information tool is looked up through `system`.
    frmApropos(MessageBoxes &messages, SystemTools &system, QWidget *mainWindow);
    ~frmApropos() override;

    // Author credit and addresses shown in the box: our own, no third party's.
    static const QString Auteur;
    static const QString SiteWeb;
    static const QString Email;

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

    // The controls, named as their object names.
    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *cmdOK = nullptr;

    MessageBoxes &m_messages;
    SystemTools &m_system;
    QWidget *m_mainWindow;
    QMargins m_centredWithFrame; // the frame the box was last centred with
};
