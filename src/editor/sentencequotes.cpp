#include "sentencequotes.h"

#include "common/sentencefile.h"

namespace SentenceQuotes {

bool readsBackTheSame(const QString &sentence)
{
    const QStringList back = SentenceFile::parse(SentenceFile::serialize({sentence}));
    return back == QStringList{SentenceFile::trimSpaces(sentence)};
}

QString frenchQuotes(const QString &sentence)
{
    QString result = sentence;
    bool opening = true;
    for (QChar &c : result) {
        if (c != QLatin1Char('"'))
            continue;
        c = opening ? QChar(0x00AB) : QChar(0x00BB);
        opening = !opening;
    }
    return result;
}
}
