#pragma once
#include <QString>
#include <QStringList>

class SettingsStore;

// The exercise's sentence list and the cutting of a sentence into words.

// The words of a sentence, cut at every space, followed by one empty entry: n words give n + 1
// entries. Two spaces in a row give an empty word between them.
QStringList splitWords(const QString &sentence);

// What a reading of the sentence file found, so that the exercise can say why it has nothing
// to play.
enum class SentenceLoad {
    Loaded,     // at least one record
    Missing,    // no file of that name in the user's sentence folder or the program's folder
    Unreadable, // there, but it could not be opened or read (a folder, no permission, ...)
    Empty,      // read, but holds no record
};

// The name of the exercise's sentence file as the settings give it, "plumalin.txt" by default.
QString sentenceFileName(const SettingsStore &settings);

// The exercise's word tiles (Mot(0) to Mot(127)).
inline constexpr int TileCount = 128;

// The longest word a sentence may hold: a giant word of a hand-made file would make a tile
// wider than any screen and slow every repaint.
inline constexpr int LongestWord = 50;

// Whether the sentence can be played: it has a word (a blank line of a hand-made file gives
// nothing to drag), the exercise has a tile for every word and for the blank last entry, and
// no word is longer than LongestWord characters.
bool isPlayable(const QString &sentence);
