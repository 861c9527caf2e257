#pragma once
#include "settingschoices.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QMdiSubWindow;
class QPushButton;

// The settings dialog: five drop-down lists whose choices are written to the settings store the
// moment they are set, the dialog's own filling included. There is nothing to confirm or cancel:
// "OK" (Enter, Escape, the close box) only closes it.
//
// It is an inner window of the main window. The main window creates it (its lists are filled and
// stored by the constructor), wraps it in a sub-window of its QMdiArea, then places it before
// showing it:
//
//     auto *dlg = new frmParam(settings, programFolder, this);
//     mdiArea()->addSubWindow(dlg);
//     dlg->placeOverMainWindow();
//     dlg->parentWidget()->show();
//
// Closing it deletes it (and its sub-window); keep it in a QPointer to know whether it is open.
class frmParam : public QDialog
{
    Q_OBJECT
public:
    // The sentence files listed are those of the user's own folder and of `programFolder`.
    frmParam(SettingsStore &settings, const QString &programFolder, QWidget *mainWindow);
    ~frmParam() override;

    // Places the dialog, or its sub-window when it has one, centred over a main window of this
    // outer size, in the coordinates of the main window's inner area; it is never put above or
    // left of that area's origin, so that its caption stays reachable. It also makes the
    // sub-window a fixed-size window with only a close box.
    void placeOver(const QSize &mainOuterSize);
    // The same with the main window given to the constructor.
    void placeOverMainWindow();

    // The sub-window that holds the dialog inside the main window, if it has been wrapped yet.
    QMdiSubWindow *subWindow() const;

    // Reading aloud cannot work on this computer for the reason given (empty: it can, or it is
    // not known yet): its two lists are greyed and say why.
    void setSpeechUnavailable(const QString &why);
    // A reading-aloud choice other than "Non" is set.
    bool readingAloudOn() const;

signals:
    // The teacher turned reading aloud on: the voice is worth loading, to know whether it works.
    void readingAloudWanted();

public slots:
    void saisieNiveau_Click();
    void saisieHasard_Click();
    void saisieExercice_Click();
    void saisieSon_Click();
    void saisieLecture_Click();
    void saisieVitesse_Click();
    void saisieFichier_Click();
    void cmdOK_Click();

public:
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Form_Load();

    // The controls, named as their object names.
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QComboBox *saisieNiveau = nullptr;
    QComboBox *saisieHasard = nullptr;
    QComboBox *saisieExercice = nullptr;
    QComboBox *saisieSon = nullptr;
    QComboBox *saisieFichier = nullptr;
    QComboBox *saisieLecture = nullptr;
    QComboBox *saisieVitesse = nullptr;
    QPushButton *cmdOK = nullptr;

    SettingsChoices m_choices;
    QWidget *m_mainWindow;
};
