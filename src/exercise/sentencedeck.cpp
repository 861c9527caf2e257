#include "sentencedeck.h"

#include "common/sentencefile.h"
#include "common/sentencefolders.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

SentenceLoad SentenceDeck::ChargePhrases(const SettingsStore &settings,
                                         const QString &programFolder)
{
    m_count = 0;
    const QString path = SentenceFolders::pathOf(sentenceFileName(settings), programFolder);
    const auto sentences = SentenceFile::read(path, SentenceSlots);
    if (!sentences)
        return QFileInfo::exists(path) ? SentenceLoad::Unreadable : SentenceLoad::Missing;
    load(*sentences);
    return m_count > 0 ? SentenceLoad::Loaded : SentenceLoad::Empty;
}

void SentenceDeck::load(const QStringList &records)
{
    m_count = 0;
    for (const QString &s : records) {
        if (m_count == SentenceSlots)
            break;
        m_sentences[std::size_t(m_count++)] = s;
    }
}

qint16 SentenceDeck::ExpandWord(const QString &sentence)
{
    const QStringList words = splitWords(sentence);
    const qsizetype stored = std::min<qsizetype>(words.size(), WordSlots);
    for (qsizetype i = 0; i < stored; ++i)
        m_words[std::size_t(i)] = words[i];
    // The count is a 16-bit value; a sentence that long is never played anyway.
    return static_cast<qint16>(
        std::min<qsizetype>(words.size() - 1, std::numeric_limits<qint16>::max()));
}

int SentenceDeck::pickSentence(double r) const
{
    const int loaded = std::clamp(m_count, 0, SentenceSlots);
    int playable = 0;
    for (int i = 0; i < loaded; ++i)
        playable += isPlayable(sentence(i)) ? 1 : 0;
    if (playable == 0)
        return -1;
    int wanted = std::clamp(static_cast<int>(r * playable), 0, playable - 1);
    for (int i = 0; i < loaded; ++i) {
        if (!isPlayable(sentence(i)))
            continue;
        if (wanted-- == 0)
            return i;
    }
    return -1;
}

void SentenceDeck::play(int index)
{
    m_current = index;
    m_lastWord = ExpandWord(sentence(index));
}
