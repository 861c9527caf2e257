#include "sentencelist.h"

#include "common/programstate.h"
#include "common/sentencefile.h"
#include "common/sentencefolders.h"
#include "common/settingsstore.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

QStringList splitWords(const QString &sentence)
{
    QStringList words = sentence.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    words.append(QString());
    return words;
}

QString sentenceFileName(const SettingsStore &settings)
{
    return settings.GetSetting(Settings::Fichier, QStringLiteral("plumalin.txt"));
}

SentenceLoad ChargePhrases(ProgramState &state, const SettingsStore &settings,
                           const QString &programFolder)
{
    state.NbPhrasesChargees = 0;
    const QString path = SentenceFolders::pathOf(sentenceFileName(settings), programFolder);
    const auto sentences = SentenceFile::read(path, ProgramState::SentenceSlots);
    if (!sentences)
        return QFileInfo::exists(path) ? SentenceLoad::Unreadable : SentenceLoad::Missing;
    for (const QString &s : *sentences)
        state.Phrases[static_cast<std::size_t>(state.NbPhrasesChargees++)] = s;
    return state.NbPhrasesChargees > 0 ? SentenceLoad::Loaded : SentenceLoad::Empty;
}

qint16 ExpandWord(ProgramState &state, const QString &sentence)
{
    const QStringList words = splitWords(sentence);
    const qsizetype stored = std::min<qsizetype>(words.size(), ProgramState::WordSlots);
    for (qsizetype i = 0; i < stored; ++i)
        state.ListeMots[static_cast<std::size_t>(i)] = words[i];
    // The count is a 16-bit value; a sentence that long is never played anyway.
    return static_cast<qint16>(
        std::min<qsizetype>(words.size() - 1, std::numeric_limits<qint16>::max()));
}

bool isPlayable(const QString &sentence)
{
    // n spaces give n + 2 entries: n + 1 words and the blank.
    if (SentenceFile::trimSpaces(sentence).isEmpty()
        || sentence.count(QLatin1Char(' ')) + 2 > ProgramState::TileCount)
        return false;
    qsizetype run = 0;
    for (const QChar c : sentence) {
        run = c == QLatin1Char(' ') ? 0 : run + 1;
        if (run > LongestWord)
            return false;
    }
    return true;
}

int pickSentence(const ProgramState &state, double r)
{
    const int loaded = std::clamp(state.NbPhrasesChargees, 0, ProgramState::SentenceSlots);
    int playable = 0;
    for (int i = 0; i < loaded; ++i)
        playable += isPlayable(state.Phrases[static_cast<std::size_t>(i)]) ? 1 : 0;
    if (playable == 0)
        return -1;
    int wanted = std::clamp(static_cast<int>(r * playable), 0, playable - 1);
    for (int i = 0; i < loaded; ++i) {
        if (!isPlayable(state.Phrases[static_cast<std::size_t>(i)]))
            continue;
        if (wanted-- == 0)
            return i;
    }
    return -1;
}
