#pragma once
#include <QString>

// A sentence file has no escape for a straight double quote followed by a comma: such a
// sentence would read back from its file as two. The editor says so when the sentence is
// validated and offers French quotation marks instead.
namespace SentenceQuotes {

// Whether the sentence, once written to a sentence file, reads back as the same one sentence
// (blanks at both ends aside, which a file never keeps).
bool readsBackTheSame(const QString &sentence);

// Straight double quotes replaced by French ones, opening and closing in turn: «"Oui", dit-il.»
// gives ««Oui», dit-il.»: no space inside the marks, so that each mark stays on its word.
QString frenchQuotes(const QString &sentence);
}
