#include "csvexport.h"

#include "apptexts.h"
#include "safefile.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
std::optional<QString> choosePath(QWidget *parent, FileChooser &files, MessageBoxes &messages,
                                  const QString &title, const QString &name)
{
    FileChooser::Request request;
    request.title = title;
    request.filters = {QStringLiteral("Fichiers CSV (*.csv)"),
                       QStringLiteral("Tous les fichiers (*)")};
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    request.initialPath = QDir(folder).filePath(name);

    const std::optional<QString> chosen = files.chooseSave(parent, request);
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty() && !QFileInfo(path).isDir())
        path += QStringLiteral(".csv");

    if (QFileInfo(path).isFile()) {
        const auto answer = messages.ask(
            parent, MessageBoxes::Question, AppTexts::Title,
            QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                .arg(QDir::toNativeSeparators(path)),
            MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::No);
        if (answer != MessageBoxes::Yes)
            return std::nullopt;
    }
    return path;
}
}

std::optional<QString> chooseCsvPath(QWidget *parent, FileChooser &files, MessageBoxes &messages,
                                     const QDate &today, const QString &title, const QString &stem)
{
    return choosePath(parent, files, messages, title,
                      QStringLiteral("%1-%2.csv").arg(stem, today.toString(QStringLiteral("yyyy-MM-dd"))));
}

bool exportCsv(QWidget *parent, FileChooser &files, MessageBoxes &messages, const QDate &today,
               const CsvExport &what)
{
    const std::optional<QString> path =
        what.fileName.isEmpty() ? chooseCsvPath(parent, files, messages, today, what.title, what.stem)
                                : choosePath(parent, files, messages, what.title, what.fileName);
    if (!path)
        return false;
    QString error;
    if (!SafeFile::write(*path, what.bytes(), &error)) {
        messages.tell(parent, MessageBoxes::Warning, AppTexts::Title, what.failure.arg(error));
        return false;
    }
    return true;
}
