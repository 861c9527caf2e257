#pragma once
#include <QString>

// The journal texts that the summary reads an exercise from, as the main window and the
// exercise write them.
namespace RecordTexts {
inline const QString ProgramStart = QStringLiteral("Lancement du programme");
inline const QString ExerciseStart = QStringLiteral("Debut de l'exercice.");
inline const QString ExerciseQuit = QStringLiteral("Fin de l'exercice avec le bouton 'QUITTER'");
inline const QString Move = QStringLiteral("Déplacement du mot '");
inline const QString NoError = QStringLiteral("L'élève n'a fait aucune erreur.");
inline const QString OneError = QStringLiteral("L'élève a fait une erreur.");
inline const QString ErrorsStart = QStringLiteral("L'élève a fait ");
inline const QString ErrorsEnd = QStringLiteral(" erreurs.");
inline const QString MarkStart = QStringLiteral("L'élève a une note de ");
inline const QString MarkEnd = QStringLiteral("/20");
inline const QString MarkZero = QStringLiteral("L'élève a une note de Zéro.");
inline const QString HintStart = QStringLiteral("La temporisation du mot bleu fixée à ");
inline const QString HintWordStart = QStringLiteral("Le mot bleu est '");
inline const QString HintWordEnd = QStringLiteral("'.");
inline const QString TimeUpStart = QStringLiteral("Temporisation de la phrase fixée à ");
// Lines of the teacher's commands, which are never a pupil's answer.
inline const QString Consultation = QStringLiteral("Consultation d");
inline const QString Edit = QStringLiteral("Editer");
}
