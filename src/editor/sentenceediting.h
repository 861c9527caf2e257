#pragma once
#include <QString>
#include <QStringList>

#include <optional>

class SentenceTableModel;

// The sentence editor's rules without any window: which row is chosen, which one is being
// changed, whether Valider adds the text or replaces a sentence, what a cut does to the row
// being changed, when the list holds changes not saved, and when straight quotes are worth a
// question. frmPhrases maps them onto its controls, its journal lines and its message boxes.
// Rows are counted as the editor's grid counts them: row 1 is the first sentence.
class SentenceEditing
{
public:
    enum class Mode { New, Modify };
    // The longest sentence the edit box takes for a change: laying out a longer one would
    // freeze the window (20 MB took 40 s). A longer sentence stays whole in the list and file.
    static constexpr qsizetype EditableLength = 10000;

    explicit SentenceEditing(SentenceTableModel &model);

    // A sentence is one record of its file: line breaks typed into the edit box become spaces.
    static QString oneLine(QString text);

    // The grid's rows: header row included, so an empty list has 2 (header and a blank row).
    int rows() const;
    QString sentence(int row) const;

    // A click on row `row` (0 for the header or below the last row).
    void choose(int row) { m_chosen = row; }
    int chosen() const { return m_chosen; }

    enum class ModifyStart { Nothing, TooLong, Started };
    // A double-click on row `row`: the sentence goes into the edit box to be changed.
    ModifyStart modify(int row);
    // "Nouveau": an empty edit box for a sentence to add.
    void startNew();
    Mode mode() const { return m_mode; }
    bool isEditing() const { return m_editing; }
    // The row being changed, or last changed; 0 once it is cut or the list replaced.
    int modifiedRow() const { return m_modified; }

    // The French-quoted text to propose when `text` would not read back from a file as it is
    // and French quotes would mend it; nothing when no question is needed.
    std::optional<QString> quoteQuestion(const QString &text) const;
    // The teacher kept `text` with its straight quotes: not asked again for it.
    void keepStraightQuotes(const QString &text) { m_keptAsIs = text; }

    // "Valider" with the edit box's text: replaces the sentence being changed, or adds the text
    // last (a new sentence, or a changed one whose row was cut or whose list was replaced).
    // Returns the row that holds the text now.
    int validate(const QString &text);

    // "Couper" on the chosen row. False when no such row exists (nothing changes).
    bool cut();

    // The list replaced by a file's, or written to one: it is the saved list from now on.
    void loaded(const QStringList &sentences);
    void saved(const QStringList &sentences) { m_savedList = sentences; }
    // Text typed in the open edit box that differs from what it opened with.
    bool hasPendingText(const QString &boxText) const;
    // The list differs from the one last opened, loaded or saved, or the edit box holds text
    // not yet validated.
    bool hasUnsavedChanges(const QString &boxText) const;

private:
    void forgetRow(int removed);

    SentenceTableModel &m_model;
    Mode m_mode = Mode::New;
    bool m_editing = false;
    int m_chosen = 0;
    int m_modified = 0;
    QString m_startText; // the edit box's text when it opened
    QString m_keptAsIs;  // a sentence the teacher chose to keep with its straight quotes
    QStringList m_savedList;
};
