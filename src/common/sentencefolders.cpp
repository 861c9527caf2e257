#include "sentencefolders.h"

#include "apptexts.h"
#include "programfolder.h"
#include "platform/messageboxes.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

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

std::optional<QByteArray> contents(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// The target, if any, is replaced only once the bytes are all written.
bool writeFile(const QString &target, const QByteArray &bytes, QString *error)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Le fichier « %1 » ne peut pas être créé : %2")
                     .arg(QDir::toNativeSeparators(target), file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("L'écriture du fichier « %1 » a échoué : %2")
                     .arg(QDir::toNativeSeparators(target), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("L'enregistrement du fichier « %1 » a échoué : %2")
                     .arg(QDir::toNativeSeparators(target), file.errorString());
        return false;
    }
    return true;
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
    const std::optional<QByteArray> bytes = name.isEmpty() ? std::nullopt : contents(path);
    QString error;
    if (!bytes) {
        error = QStringLiteral("Le fichier « %1 » ne peut pas être lu.")
                    .arg(QDir::toNativeSeparators(path));
    } else if (QFileInfo::exists(target)) {
        if (contents(target) == bytes)
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
        else if (writeFile(target, *bytes, &error))
            return true;
    }
    messages.tell(parent, MessageBoxes::Warning, AppTexts::Title,
                  QStringLiteral("Le fichier de phrases n'a pas pu être copié dans votre dossier "
                                 "« %1 » ; l'exercice garde son fichier.\n\n")
                          .arg(QDir::toNativeSeparators(folder))
                      + error);
    return false;
}
