#include "journalevent.h"

#include <array>
#include <utility>

namespace {
// The texts, each written once.
const QString ProgramStartText = QStringLiteral("Lancement du programme");
const QString ExerciseStartText = QStringLiteral("Debut de l'exercice.");
const QString ExerciseQuitText = QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'");
const QString MovedStart = QStringLiteral("Déplacement du mot '");
const QString MovedEnd = QStringLiteral("'.");
const QString HintStart = QStringLiteral("La temporisation du mot bleu fixée à ");
const QString HintEnd = QStringLiteral(" secondes est dépassée.");
const QString HintWordStart = QStringLiteral("Le mot bleu est '");
const QString HintWordEnd = QStringLiteral("'.");
const QString TimeUpStart = QStringLiteral("Temporisation de la phrase fixée à ");
const QString TimeUpEnd = QStringLiteral(" minutes dépassée.");
const QString NoErrorText = QStringLiteral("L'élève n'a fait aucune erreur.");
const QString OneErrorText = QStringLiteral("L'élève a fait une erreur.");
const QString ErrorsStart = QStringLiteral("L'élève a fait ");
const QString ErrorsEnd = QStringLiteral(" erreurs.");
const QString MarkStart = QStringLiteral("L'élève a une note de ");
const QString MarkEnd = QStringLiteral("/20");
const QString MarkZeroText = QStringLiteral("L'élève a une note de Zéro.");
const QString LoadStart = QStringLiteral("Editer - Charger les phrases (Fichier:");
const QString SaveAskText = QStringLiteral("Editer - Sauvegarder les phrases");
const QString SaveStart = QStringLiteral("Editer - Sauvegarder les phrases (Fichier:");
const QString FileEnd = QStringLiteral(")");
const QString CutStart = QStringLiteral("Editer - Couper '");
const QString ModifyStart = QStringLiteral("Editer - Modifier '");
const QString ModifiedToStart = QStringLiteral("Editer - Modifier en '");
const QString NewStart = QStringLiteral("Editer - Nouveau '");
const QString QuoteEnd = QStringLiteral("'");

struct Fixed {
    EventKind kind;
    QString text;
};
const std::array<Fixed, 7> FixedTexts = {{
    {EventKind::ConsultJournal, QStringLiteral("Consultation de la progression")},
    {EventKind::ConsultSummary, QStringLiteral("Consultation du bilan des élèves")},
    {EventKind::ConsultSettings, QStringLiteral("Consultation de la boite 'Paramètres'")},
    {EventKind::ConsultAbout, QStringLiteral("Consultation de la boite 'A propos de...'")},
    {EventKind::EditorOpen, QStringLiteral("Editer les exercices")},
    {EventKind::SentencesSaveAsk, SaveAskText},
    {EventKind::Listened, QStringLiteral("L'élève a écouté la phrase.")},
}};

// The codes, in the order of EventKind.
const std::array<QString, 27> Codes = {
    QStringLiteral("texte"),       QStringLiteral("lancement"),    QStringLiteral("debut"),
    QStringLiteral("reprise"),     QStringLiteral("quitter"),      QStringLiteral("bon"),
    QStringLiteral("faux"),        QStringLiteral("deplace"),      QStringLiteral("delai-mot"),
    QStringLiteral("mot-bleu"),    QStringLiteral("delai-phrase"), QStringLiteral("fin-phrase"),
    QStringLiteral("note"),        QStringLiteral("vue-journal"),  QStringLiteral("vue-bilan"),
    QStringLiteral("vue-param"),   QStringLiteral("vue-apropos"),  QStringLiteral("editeur"),
    QStringLiteral("charger"),     QStringLiteral("sauver-demande"), QStringLiteral("sauver"),
    QStringLiteral("couper"),      QStringLiteral("modifier"),     QStringLiteral("modifier-en"),
    QStringLiteral("nouveau"),     QStringLiteral("ecoute"),       QStringLiteral("etiquettes"),
};
static_assert(int(EventKind::LabelsPrinted) + 1 == 27);

QString tileText(const QString &word)
{
    return QLatin1Char(' ') + word + QLatin1Char(' ');
}

bool between(const QString &text, const QString &start, const QString &end, QString &inside)
{
    if (text.size() < start.size() + end.size() || !text.startsWith(start) || !text.endsWith(end))
        return false;
    inside = text.mid(start.size(), text.size() - start.size() - end.size());
    return true;
}

// The word a candidate answer ends with: a tile's word holds no space.
QString lastWord(const QString &candidate)
{
    return candidate.mid(candidate.lastIndexOf(QLatin1Char(' ')) + 1);
}
}

QString JournalEvent::code(EventKind kind)
{
    const auto index = std::size_t(kind);
    return index < Codes.size() ? Codes[index] : Codes[0];
}

std::optional<EventKind> JournalEvent::kindOf(QStringView code)
{
    for (std::size_t i = 0; i < Codes.size(); ++i) {
        if (Codes[i] == code)
            return EventKind(i);
    }
    return std::nullopt;
}

QString JournalEvent::text() const
{
    switch (kind) {
    case EventKind::Text:
    case EventKind::RightDrop:
    case EventKind::WrongDrop:
        return value;
    case EventKind::ProgramStart:
        return ProgramStartText;
    case EventKind::ExerciseStart:
    case EventKind::ExerciseShown:
        return ExerciseStartText;
    case EventKind::ExerciseQuit:
        return ExerciseQuitText;
    case EventKind::WordMoved:
        return MovedStart + tileText(word) + MovedEnd;
    case EventKind::HintTimeUp:
        return HintStart + value + HintEnd;
    case EventKind::HintWord:
        return HintWordStart + tileText(word) + HintWordEnd;
    case EventKind::SentenceTimeUp:
        return TimeUpStart + value + TimeUpEnd;
    case EventKind::SentenceEnd:
        if (value == QLatin1String("0"))
            return NoErrorText;
        if (value == QLatin1String("1"))
            return OneErrorText;
        return ErrorsStart + value + ErrorsEnd;
    case EventKind::Mark:
        if (value.toDouble() > 0)
            return MarkStart + value + MarkEnd;
        return MarkZeroText;
    case EventKind::SentencesLoad:
        return LoadStart + value + FileEnd;
    case EventKind::SentencesSave:
        return SaveStart + value + FileEnd;
    case EventKind::EditCut:
        return CutStart + value + QuoteEnd;
    case EventKind::EditModify:
        return ModifyStart + value + QuoteEnd;
    case EventKind::EditModifiedTo:
        return ModifiedToStart + value + QuoteEnd;
    case EventKind::EditNew:
        return NewStart + value + QuoteEnd;
    case EventKind::LabelsPrinted:
        return QStringLiteral("Impression des étiquettes de %1 phrase%2")
            .arg(value, value == QLatin1String("1") ? QString() : QStringLiteral("s"));
    case EventKind::ConsultJournal:
    case EventKind::ConsultSummary:
    case EventKind::ConsultSettings:
    case EventKind::ConsultAbout:
    case EventKind::EditorOpen:
    case EventKind::SentencesSaveAsk:
    case EventKind::Listened:
        for (const Fixed &f : FixedTexts) {
            if (f.kind == kind)
                return f.text;
        }
        break;
    }
    return value;
}

bool JournalEvent::red() const
{
    switch (kind) {
    case EventKind::Text:
        return textRed;
    case EventKind::WrongDrop:
    case EventKind::HintTimeUp:
    case EventKind::HintWord:
    case EventKind::SentenceTimeUp:
        return true;
    default:
        return false;
    }
}

bool JournalEvent::timed() const
{
    switch (kind) {
    case EventKind::HintTimeUp:
    case EventKind::HintWord:
    case EventKind::SentenceTimeUp:
    case EventKind::SentenceEnd:
    case EventKind::Mark:
        return false;
    default:
        return true;
    }
}

JournalEvent JournalEvent::plain(const QString &text, bool normal)
{
    JournalEvent e = of(EventKind::Text);
    e.value = text;
    e.textRed = !normal;
    return e;
}

JournalEvent JournalEvent::withValue(EventKind kind, const QString &value)
{
    JournalEvent e = of(kind);
    e.value = value;
    return e;
}

JournalEvent JournalEvent::rightDrop(const QString &answer, const QString &word)
{
    JournalEvent e = withValue(EventKind::RightDrop, answer);
    e.word = word;
    return e;
}

JournalEvent JournalEvent::wrongDrop(const QString &answer, const QString &word, const QString &expected)
{
    JournalEvent e = withValue(EventKind::WrongDrop, answer);
    e.word = word;
    e.expected = expected;
    return e;
}

JournalEvent JournalEvent::wordMoved(const QString &word)
{
    JournalEvent e = of(EventKind::WordMoved);
    e.word = word;
    return e;
}

JournalEvent JournalEvent::hintTimeUp(const QString &seconds)
{
    return withValue(EventKind::HintTimeUp, seconds);
}

JournalEvent JournalEvent::hintWord(const QString &word)
{
    JournalEvent e = of(EventKind::HintWord);
    e.word = word;
    return e;
}

JournalEvent JournalEvent::sentenceTimeUp(const QString &minutes)
{
    return withValue(EventKind::SentenceTimeUp, minutes);
}

JournalEvent JournalEvent::sentenceEnd(int errors)
{
    return withValue(EventKind::SentenceEnd, QString::number(errors));
}

JournalEvent JournalEvent::mark(const QString &mark)
{
    return withValue(EventKind::Mark, mark);
}

JournalEvent JournalEvent::fromText(const QString &text, bool red)
{
    QString inside;
    if (red) {
        if (text.startsWith(HintStart))
            return hintTimeUp(between(text, HintStart, HintEnd, inside) ? inside : QString());
        if (between(text, HintWordStart, HintWordEnd, inside))
            return hintWord(inside.trimmed());
        if (text.startsWith(TimeUpStart))
            return sentenceTimeUp(between(text, TimeUpStart, TimeUpEnd, inside) ? inside : QString());
        return wrongDrop(text, lastWord(text), QString());
    }
    if (text == ProgramStartText)
        return of(EventKind::ProgramStart);
    if (text == ExerciseStartText)
        return of(EventKind::ExerciseStart);
    if (text == ExerciseQuitText)
        return of(EventKind::ExerciseQuit);
    if (text == NoErrorText)
        return sentenceEnd(0);
    if (text == OneErrorText)
        return sentenceEnd(1);
    if (between(text, ErrorsStart, ErrorsEnd, inside))
        return withValue(EventKind::SentenceEnd, inside);
    if (text == MarkZeroText)
        return mark(QStringLiteral("0"));
    if (between(text, MarkStart, MarkEnd, inside))
        return mark(inside);
    if (text.startsWith(MovedStart)) {
        JournalEvent e = of(EventKind::WordMoved);
        e.word = between(text, MovedStart, MovedEnd, inside) ? inside.trimmed() : QString();
        return e;
    }
    for (const Fixed &f : FixedTexts) {
        if (text == f.text)
            return of(f.kind);
    }
    // The longer beginnings first: "Sauvegarder (Fichier:" before "Modifier en" before "Modifier".
    const std::array<std::pair<EventKind, const QString *>, 6> quoted = {{
        {EventKind::SentencesLoad, &LoadStart},
        {EventKind::SentencesSave, &SaveStart},
        {EventKind::EditCut, &CutStart},
        {EventKind::EditModifiedTo, &ModifiedToStart},
        {EventKind::EditModify, &ModifyStart},
        {EventKind::EditNew, &NewStart},
    }};
    for (const auto &[kind, start] : quoted) {
        const QString &end = (kind == EventKind::SentencesLoad || kind == EventKind::SentencesSave)
                                 ? FileEnd
                                 : QuoteEnd;
        if (between(text, *start, end, inside))
            return withValue(kind, inside);
    }
    // Other lines of the teacher's commands are never a pupil's answer.
    if (text.startsWith(QLatin1String("Consultation d")) || text.startsWith(QLatin1String("Editer")))
        return plain(text, true);
    return rightDrop(text, lastWord(text));
}
