#include "sentencelist.h"

#include "common/sentencefile.h"
#include "common/settingsstore.h"

#include <algorithm>

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

bool isPlayable(const QString &sentence)
{
    // n spaces give n + 2 entries: n + 1 words and the blank.
    if (SentenceFile::trimSpaces(sentence).isEmpty()
        || sentence.count(QLatin1Char(' ')) + 2 > TileCount)
        return false;
    qsizetype run = 0;
    for (const QChar c : sentence) {
        run = c == QLatin1Char(' ') ? 0 : run + 1;
        if (run > LongestWord)
            return false;
    }
    return true;
}
