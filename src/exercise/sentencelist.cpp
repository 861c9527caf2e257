#include "sentencelist.h"

#include "common/programfolder.h"
#include "common/programstate.h"
#include "common/sentencefile.h"
#include "common/settingsstore.h"

#include <algorithm>
#include <limits>

QStringList splitWords(const QString &sentence)
{
    QStringList words = sentence.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    words.append(QString());
    return words;
}

QString sentenceFilePath(const SettingsStore &settings, const QString &programFolder)
{
    const QString name = settings.GetSetting(Settings::Fichier, QStringLiteral("plumalin.txt"));
    return joinPath(programFolder, name);
}

void ChargePhrases(ProgramState &state, const SettingsStore &settings, const QString &programFolder)
{
    state.NbPhrasesChargees = 0;
    const auto sentences =
        SentenceFile::read(sentenceFilePath(settings, programFolder), ProgramState::SentenceSlots);
    if (!sentences)
        return;
    for (const QString &s : *sentences)
        state.Phrases[static_cast<std::size_t>(state.NbPhrasesChargees++)] = s;
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
