#pragma once
#include <QString>
#include <QStringList>

class SettingsStore;
struct ProgramState;

// The exercise's sentence list and the cutting of a sentence into words.

// The words of a sentence, cut at every space, followed by one empty entry: n words give n + 1
// entries. Two spaces in a row give an empty word between them.
QStringList splitWords(const QString &sentence);

// Reads the sentence file named by "Fichier" (looked up in the program's folder) into
// state.Phrases: at most 129 records, the rest ignored. A missing or unreadable file leaves
// NbPhrasesChargees at 0, silently.
void ChargePhrases(ProgramState &state, const SettingsStore &settings, const QString &programFolder);

// Fills state.ListeMots with the words of the sentence and returns the index of its empty last
// entry (the number of words when they are separated by single spaces).
qint16 ExpandWord(ProgramState &state, const QString &sentence);

// The path of the exercise's sentence file as the settings name it.
QString sentenceFilePath(const SettingsStore &settings, const QString &programFolder);
