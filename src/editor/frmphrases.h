#pragma once
#include <QString>
#include <QStringList>
#include <QDialog>

#include <memory>

#include "sentenceediting.h"

class FileChooser;
class Journal;
class MessageBoxes;
class PrintDialog;
class QAction;
class QFrame;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class SentenceTableModel;

// The teacher's sentence editor: one list of sentences as a numbered table, with adding,
// changing and cutting sentences, and loading and saving sentence files. Every action is
// written to the progress journal.
//
// A separate modeless dialog. Each one starts with an empty list; closing it (OK, Annuler,
// Escape, the close box) deletes it (hold it in a QPointer), after asking whether to save
// unsaved changes.
class frmPhrases : public QDialog
{
    Q_OBJECT
public:
    using Mode = SentenceEditing::Mode;

    // Outer heights of the window in twips, as designed: browsing, and entering or changing a
    // sentence with the edit area in view.
    static constexpr int BrowsingHeight = 3795;
    static constexpr int EditingHeight = 4830;
    static constexpr qsizetype EditableLength = SentenceEditing::EditableLength;

    frmPhrases(Journal &journal, FileChooser &files, MessageBoxes &messages,
               PrintDialog &printing, QWidget *parent = nullptr);
    ~frmPhrases() override;

    SentenceTableModel &model() const { return *m_model; }
    int LigneChoisie() const { return m_editing->chosen(); }
    Mode DernierMode() const { return m_editing->mode(); }
    // The button that Enter presses: OKButton until the first Nouveau or double-click, then
    // Valider for as long as the window exists.
    QPushButton *defaultButton() const { return m_defaultButton; }
    // The designed outer height of the current state (BrowsingHeight or EditingHeight).
    int designHeight() const { return m_designHeight; }
    // The area below the menu bar that holds the controls; its height follows the state.
    QWidget *clientArea() const { return m_client; }
    // Whether the list differs from the one last opened, loaded or saved, or the edit box holds
    // text not yet validated.
    bool hasUnsavedChanges() const;
    // The path the file dialog proposes next (the last one chosen in this window).
    QString cheminChoisi() const { return m_cheminChoisi; }

public slots:
    // Both read the row under the mouse at the last left press on the table (0 for the header
    // row or below the last row).
    void MSFlexGrid1_Click();
    void MSFlexGrid1_DblClick();
    void Nouveau_Click();
    void Valider_Click();
    void mnuCouper_Click();
    void mnuCopier_Click();
    void mnuColler_Click();
    void mnuCharger_Click();
    // True when the list was written to a file.
    bool mnuSauvegarder_Click();
    // Word labels of the list to cut out and glue, through the print dialog.
    void mnuImprimerEtiquettes_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void reject() override;

public:
    // Loads a sentence file into the table; false, with the table unchanged, when it cannot be
    // read.
    bool ChargeGrille(const QString &path);
    // Writes the table to a sentence file; on failure the earlier file is left whole and the
    // teacher is told why.
    bool SauveGrille(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fitNumberColumn();
    void buildMenus();
    void Form_Load();
    void setDesignHeight(int twipsHeight);
    void makeDefault(QPushButton *button);
    void setCurrentCell(int row);
    // Text typed in the edit area, in view, that differs from what it opened with.
    bool hasPendingText() const;
    // Asks whether to save unsaved changes; false when the teacher cancels or the save fails.
    bool askToSave();
    // The edit box's text as it will be validated: the teacher chooses about straight quotes
    // that would not read back from a file.
    QString textToValidate();
    // Grid row under a point of the table's viewport: 0 below the last row.
    int rowAt(const QPoint &viewportPos) const;

    // The controls, named as their object names.
    QMenuBar *menuBar = nullptr;
    QMenu *mnuFichier = nullptr;
    QAction *mnuCharger = nullptr;
    QAction *mnuSauvegarder = nullptr;
    QAction *mnuImprimerEtiquettes = nullptr;
    QMenu *mnuEditer = nullptr;
    QAction *mnuCouper = nullptr;
    QAction *mnuCopier = nullptr;
    QAction *mnuColler = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QTableView *MSFlexGrid1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Valider = nullptr;
    QPushButton *Nouveau = nullptr;

    Journal &m_journal;
    FileChooser &m_files;
    MessageBoxes &m_messages;
    PrintDialog &m_printing;
    SentenceTableModel *m_model = nullptr;
    QWidget *m_client = nullptr;
    QPushButton *m_defaultButton = nullptr;
    // The editing rules over the model: chosen and changed rows, Valider, cuts, unsaved changes.
    std::unique_ptr<SentenceEditing> m_editing;
    int m_mouseRow = 0;
    int m_designHeight = BrowsingHeight;
    QString m_cheminChoisi;  // the editor's file dialog memory, shared by Charger and Sauvegarder
};
