#pragma once
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

#include "sentencelist.h"

class SettingsStore;

// The rules of the word-bag exercise that need no window: judging a dropped word, the word a
// hint shows, the time limits, the mark, and the exact texts the teacher says and the journal
// records. frmSac2Mot maps them onto its controls.
namespace ExerciseRules {

// The sentence as the pupil rebuilds it: spaces around it dropped and runs of spaces inside it
// made single, since the answer box joins the words with single spaces. Without this a
// hand-typed double space would make a sentence impossible to finish.
QString playedSentence(const QString &sentence);

// The answer that a drop proposes: the current answer, one space and the tile's word, trimmed
// of spaces.
QString candidate(const QString &answer, const QString &tileText);

// Whether the candidate is a beginning of the sentence that ends at a word boundary: «un a» is
// not a beginning of «un ami a», «un» is. An empty candidate (the blank tile on an empty answer)
// always passes.
bool isCorrectBeginning(const QString &candidate, const QString &sentence);

// Whether the answer is the whole sentence (exact: case and accents count).
bool isComplete(const QString &answer, const QString &sentence);

// The word of the sentence that follows the answer, a correct beginning of it; empty when the
// answer already is the whole sentence.
QString expectedNextWord(const QString &answer, const QString &sentence);

// Top-left corner of a tile, in twips, from two uniform draws in [0, 1): inside
// [100, 6100) x [1700, 3500), computed in single precision.
QPointF tilePosition(double r1, double r2);

// The designed scene in twips: every tile's whole pointer target stays inside it.
QRectF sceneTwips();

// The place nearest to `place` at which the whole target (relative to the place) lies inside
// the scene. An axis on which the target is larger than the scene keeps its place.
QPointF keepInScene(const QRectF &target, QPointF place);

// The reading order of tiles on screen: lines from top to bottom, each left to right. A tile
// joins the line of the topmost tile not yet in a line when their vertical extents overlap by
// at least half the smaller height, so that a word a few pixels higher is still on its line.
// Returns the indices into `rects`.
std::vector<int> readingOrder(const std::vector<QRectF> &rects);

// Redraws allowed for one tile whose target would overlap a tile already placed: enough for a
// sentence of 15 ordinary words to end without an overlap.
inline constexpr int ScatterTries = 500;
// Space kept between two tiles' targets, in twips, so that the rounding of other scales
// cannot make them touch.
inline constexpr double TileGap = 30;

// Whole scatters tried when the tiles placed first left no room for a later one.
inline constexpr int ScatterRounds = 20;

// Tiles scattered one after another, each from draws r1 then r2 (tilePosition): a draw whose
// target would overlap the target of a tile already placed is drawn again, up to ScatterTries
// times; after that the free place of the rectangle nearest to the last draw is taken. When a
// tile has no free place left, the whole scatter starts again, up to ScatterRounds times, and
// the last one is kept (a sentence far too long for the scene keeps its overlaps). Each place
// is moved by keepInScene before it is tried, so that a long word never runs off the scene.
// `targets` are the tiles' pointer targets in twips, relative to their text's corner (the
// place returned).
std::vector<QPointF> scatterTiles(const std::vector<QRectF> &targets,
                                  const std::function<double()> &draw);

// Time limits, read from the settings at every tick so that a change applies at once.
double wordLimitSeconds(const SettingsStore &settings);     // ("Durée_Mot" + 1) x 30
double sentenceLimitSeconds(const SettingsStore &settings); // ("Durée_Phrase" + 1) x 180
double sentenceLimitMinutes(const SettingsStore &settings); // ("Durée_Phrase" + 1) x 3
// Sentences per exercise from "NbPhrases": (value + 1) x 5, at least 1.
double sentencesPerExercise(const SettingsStore &settings);

// The mark out of 20 for E errors over N sentences: 20 - floor(E x E / (2N)). May be 0 or less,
// which is announced as zero.
double note(int errors, double sentences);

// A number as the program writes it inside a text: plain decimal, no leading space.
QString number(double value);

// What the teacher says in the speech bubble. A top or size of -1 leaves the bubble's as it
// is. A line break is the character 13.
struct Bubble {
    int top = -1;     // twips
    int size = -1;    // points
    QString text;
};
namespace Bubbles {
Bubble bonjour();
Bubble bravo();
Bubble incorrect();
Bubble essaieEncore();
Bubble continuer();
Bubble hint();
Bubble sentenceErrors(int errors);
Bubble note(double mark);
Bubble timeUp();
}

// Status line texts.
QString statusNext();
QString statusQuit();
// Why there is nothing to play, naming the sentence file as the settings name it.
QString statusNoSentence(SentenceLoad load, const QString &fileName);
}
