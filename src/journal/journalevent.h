#pragma once
#include <QString>
#include <QStringView>

#include <optional>

// The journal's vocabulary: every line is an event of a kind, with its values, and this is the
// one place that turns it into the French text the journal shows. What reads the records back
// works from the kind and the values, never from the text.
//
// The kinds' codes are written in the record files: they never change once released, and a new
// kind gets a new code.
enum class EventKind {
    Text,              // a line given as plain text by a caller not yet typed
    ProgramStart,      // "Lancement du programme"
    ExerciseStart,     // "Debut de l'exercice." starting an exercise
    ExerciseShown,     // the same text, the exercise already open: no new exercise
    ExerciseQuit,      // the exercise's "Quitter"
    RightDrop,         // the answer so far, a word dropped in its place
    WrongDrop,         // the answer with a word dropped in the wrong place (red)
    WordMoved,         // a tile dropped on the scene's background
    HintTimeUp,        // the time for a word ran out (red)
    HintWord,          // the word shown in blue (red)
    SentenceTimeUp,    // the time for the sentence ran out (red)
    SentenceEnd,       // the sentence's error count
    Mark,              // the exercise's mark
    ConsultJournal,    // the journal opened
    ConsultSummary,    // the pupils' summary opened
    ConsultSettings,   // the settings opened
    ConsultAbout,      // the About box opened
    EditorOpen,        // the sentence editor opened
    SentencesLoad,     // a sentence file chosen for loading
    SentencesSaveAsk,  // the editor's save asked for, before its file dialog
    SentencesSave,     // a sentence file chosen for saving
    EditCut,           // a sentence cut in the editor
    EditModify,        // a sentence chosen for change
    EditModifiedTo,    // its new text
    EditNew,           // a new sentence
    Listened,          // the pupil asked to hear the sentence
    LabelsPrinted,     // word labels printed; the value is the number of sentences
};

struct JournalEvent {
    EventKind kind = EventKind::Text;
    // The event's main value: the answer or the word, the file path, the sentence edited, the
    // number of seconds, minutes, errors or the mark (as text); for EventKind::Text, the line.
    QString value;
    // The word dropped or shown (RightDrop, WrongDrop, WordMoved, HintWord) as on its tile.
    QString word;
    // The word the sentence wanted instead (WrongDrop).
    QString expected;
    // The sentence in play when the exercise gave the event; empty otherwise.
    QString sentence;
    // A plain-text line shown in red (EventKind::Text only; every other kind has its colour).
    bool textRed = false;

    // The line's text as the journal shows it.
    QString text() const;
    // Shown in red: a wrong word or a time limit exceeded.
    bool red() const;
    // Timed lines measure their duration from the journal's mark and move it; the others show
    // no duration and leave the mark alone.
    bool timed() const;

    // The stable short code of the kind, written in the records; and back (nothing if unknown).
    static QString code(EventKind kind);
    static std::optional<EventKind> kindOf(QStringView code);

    // Makers, one per kind with values.
    static JournalEvent of(EventKind kind) { return JournalEvent{kind, {}, {}, {}, {}, false}; }
    static JournalEvent plain(const QString &text, bool normal);
    static JournalEvent rightDrop(const QString &answer, const QString &word);
    static JournalEvent wrongDrop(const QString &answer, const QString &word, const QString &expected);
    static JournalEvent wordMoved(const QString &word);
    static JournalEvent hintTimeUp(const QString &seconds);
    static JournalEvent hintWord(const QString &word);
    static JournalEvent sentenceTimeUp(const QString &minutes);
    static JournalEvent sentenceEnd(int errors);
    static JournalEvent mark(const QString &mark);
    static JournalEvent withValue(EventKind kind, const QString &value);

    // A line of the records' first form (French text and colour only) read as an event: the
    // texts of this vocabulary give their kinds back; any other line of an exercise is the
    // answer rebuilt so far, right or wrong by its colour.
    static JournalEvent fromText(const QString &text, bool red);
};
