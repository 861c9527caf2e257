#pragma once
#include <QString>

// A text as a table cell shows it: at most `length` characters, then "…". Laying out a text of
// millions of characters at every repaint would freeze a table (and crash Qt's text layout for
// the longest); the whole text stays where it is kept.
inline QString displayText(const QString &text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    qsizetype cut = length;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.first(cut) + QChar(0x2026);
}
