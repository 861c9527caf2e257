#include "choixfichierphrases.h"

#include "platform/filechooser.h"

std::optional<QString> ChoixFichierPhrases(FileChooser &files, QWidget *parent,
                                           QString &lastChosenPath)
{
    FileChooser::Request request;
    request.title = ChoixFichier::Title;
    request.filters = ChoixFichier::Filters;
    request.initialPath = lastChosenPath;
    // The same dialog serves for saving: a name that does not exist yet is accepted.
    request.mustExist = false;
    const std::optional<QString> chosen = files.choose(parent, request);
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    lastChosenPath = *chosen;
    return chosen;
}
