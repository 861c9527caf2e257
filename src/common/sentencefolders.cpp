#include "sentencefolders.h"

#include "apptexts.h"
#include "programfolder.h"
#include "safefile.h"
#include "platform/messageboxes.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <optional>

namespace {
// The same place for two paths of files that may not exist yet (a name typed in the dialog).
QString place(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : joinPath(folder, info.fileName());
}
}

QString SentenceFolders::pathOf(const QString &name, const QString &programFolder)
{
    const QString own = joinPath(userPlumalinFolder(), name);
    if (!name.isEmpty() && QFileInfo::exists(own))
        return own;
    return joinPath(programFolder, name);
}

QStringList SentenceFolders::fileNames(const QString &programFolder)
{
    QStringList names;
    for (const QString &folder : {userPlumalinFolder(), programFolder}) {
        // Without QDir::Hidden and QDir::System, hidden files and special files stay out.
        names += QDir(folder).entryList({QStringLiteral("*.txt")},
                                        QDir::Files | QDir::NoDotAndDotDot);
    }
    names.removeDuplicates();
    const QCollator collator{QLocale(QLocale::French, QLocale::France)};
    std::stable_sort(names.begin(), names.end(), collator);
    return names;
}

bool SentenceFolders::adopt(const QString &path, const QString &name,
                            const QString &programFolder, MessageBoxes &messages, QWidget *parent)
{
    // A file that its name already leads to is stored as before, untested.
    if (!name.isEmpty() && place(path) == place(pathOf(name, programFolder)))
        return true;

    const QString folder = userPlumalinFolder();
    const QString target = joinPath(folder, name);
    QString error;
    std::optional<QByteArray> bytes;
    if (name.isEmpty())
        error = QStringLiteral("« %1 » ne nomme aucun fichier.").arg(QDir::toNativeSeparators(path));
    else
        bytes = SafeFile::read(path, SafeFile::DefaultMaxBytes, &error);
    if (bytes && QFileInfo::exists(target)) {
        if (SafeFile::read(target) == bytes)
            return true;
        const auto answer = messages.ask(
            parent, MessageBoxes::Question, AppTexts::Title,
            QStringLiteral("Votre dossier « %1 » contient déjà un autre fichier « %2 ».\n"
                           "Voulez-vous le remplacer par celui que vous avez choisi ?")
                .arg(QDir::toNativeSeparators(folder), name),
            MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::No);
        if (answer != MessageBoxes::Yes)
            return false;
    }
    if (bytes) {
        if (!ensureFolder(folder))
            error = QStringLiteral("Le dossier « %1 » ne peut pas être créé.")
                        .arg(QDir::toNativeSeparators(folder));
        else if (SafeFile::write(target, *bytes, &error))
            return true;
    }
    messages.tell(parent, MessageBoxes::Warning, AppTexts::Title,
                  QStringLiteral("Le fichier de phrases n'a pas pu être copié dans votre dossier "
                                 "« %1 » ; l'exercice garde son fichier.\n\n")
                          .arg(QDir::toNativeSeparators(folder))
                      + error);
    return false;
}
