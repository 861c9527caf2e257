#include "choixfichierphrases.h"

#include "common/programfolder.h"
#include "common/sentencefile.h"
#include "platform/filechooser.h"

std::optional<QString> ChoixFichierPhrases(FileChooser &files, QWidget *parent,
                                           QString &lastChosenPath)
{
    FileChooser::Request request;
    request.title = ChoixFichier::Title;
    request.filters = ChoixFichier::Filters;
    request.initialPath = lastChosenPath;
    // Until a path has been chosen, the dialog opens where the user's own lists live: the
    // program's folder may not be writable.
    if (lastChosenPath.isEmpty() && ensureFolder(userPlumalinFolder()))
        request.initialFolder = userPlumalinFolder();
    // The same dialog serves for saving: a name that does not exist yet is accepted.
    request.mustExist = false;
    const std::optional<QString> chosen = files.choose(parent, request);
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    lastChosenPath = *chosen;
    return chosen;
}

JournalEvent ChoixFichier::loadEvent(const QString &path)
{
    return JournalEvent::withValue(EventKind::SentencesLoad, SentenceFile::trimSpaces(path));
}

JournalEvent ChoixFichier::saveEvent(const QString &path)
{
    return JournalEvent::withValue(EventKind::SentencesSave, SentenceFile::trimSpaces(path));
}
