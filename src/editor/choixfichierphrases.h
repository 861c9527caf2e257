#pragma once
#include "journal/journalevent.h"

#include <QString>
#include <QStringList>

#include <optional>

class FileChooser;
class QWidget;

// The file-selection step of the sentence files, shared by the editor's "Charger" and
// "Sauvegarder" and by the main window's "Charger exercice". Each window keeps its own
// `lastChosenPath` (its file dialog's memory) for as long as it exists: the path proposed the
// next time, updated with each path chosen.
//
// The result is the chosen path exactly as the dialog gave it (untrimmed), or nothing when the
// dialog is cancelled or the name holds only blanks; the caller then ends at once.
std::optional<QString> ChoixFichierPhrases(FileChooser &files, QWidget *parent,
                                           QString &lastChosenPath);

namespace ChoixFichier {
inline const QString Title = QStringLiteral("Sélection de la photographie");
inline const QStringList Filters{QStringLiteral("Fichier des phrases (*.txt)"),
                                 QStringLiteral("Tous les fichiers (*.*)")};

// The journal events that name the file chosen for loading and for saving sentences; the path
// is shown trimmed of spaces.
JournalEvent loadEvent(const QString &path);
JournalEvent saveEvent(const QString &path);
}
