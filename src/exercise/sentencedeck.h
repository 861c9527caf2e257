#pragma once
#include <QString>
#include <QStringList>

#include <array>

#include "sentencelist.h"

class SettingsStore;

// The exercise's sentences: the records of the sentence file last read (Phrases), the one in
// play (PhraseCourante) and its words (ListeMots). It belongs to the exercise session; nothing
// else reads or writes it.
class SentenceDeck
{
public:
    static constexpr int SentenceSlots = 129; // sentences of a file held by the exercise
    static constexpr int WordSlots = 129;     // words of a sentence, plus the blank last entry

    // Reads the sentence file named by "Fichier" (looked up in the user's sentence folder, then
    // in the program's folder): at most 129 records, the rest ignored. A missing or unreadable
    // file leaves the count at 0; nothing is reported beyond the result.
    SentenceLoad ChargePhrases(const SettingsStore &settings, const QString &programFolder);
    // The records as a file would give them: they overwrite the first slots, the others stay.
    void load(const QStringList &records);

    // Fills the word list with the words of the sentence and returns the index of its empty last
    // entry (the number of words when they are separated by single spaces).
    qint16 ExpandWord(const QString &sentence);

    // A uniform choice, by the draw r in [0, 1), among the sentences read that can be played; -1
    // when none can. When all can this is the whole part of r x the count.
    int pickSentence(double r) const;
    // Puts sentence `index` in play and cuts it into words.
    void play(int index);
    void clearWords() { m_words.fill(QString()); }

    int count() const { return m_count; }                      // NbPhrasesChargees
    const QString &sentence(int index) const { return m_sentences[std::size_t(index)]; }
    int current() const { return m_current; }                  // PhraseCourante
    const QString &currentSentence() const { return sentence(m_current); }
    qint16 lastWord() const { return m_lastWord; }             // NbMots
    const QString &word(int index) const { return m_words[std::size_t(index)]; }

private:
    std::array<QString, SentenceSlots> m_sentences;
    int m_count = 0;
    std::array<QString, WordSlots> m_words;
    qint16 m_lastWord = 0;
    int m_current = 0;
};
