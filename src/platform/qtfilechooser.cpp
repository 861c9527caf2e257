#include "qtfilechooser.h"

#include "stayabove.h"

#include <QComboBox>
#include <QFileDialog>
#include <QRegularExpression>

namespace {
// Qt's dialog reads the pattern "*.*" literally, as a name holding a dot, where a file dialog's
// "*.*" has always meant every file: a sentence list saved without extension would be hidden
// under "Tous les fichiers (*.*)". Qt is given "*" instead, and the list of file types still
// shows each filter as written.
QString patternForQt(QString filter)
{
    static const QRegularExpression anyName(QStringLiteral("(?<=[(\\s])\\*\\.\\*(?=[)\\s])"));
    return filter.replace(anyName, QStringLiteral("*"));
}

std::optional<QString> runDialog(QWidget *parent, const FileChooser::Request &request,
                                 QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog, so that it is the same on every desktop and speaks French with Qt's
    // translations; no overwrite question and no added extension.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString());

    QStringList qtFilters;
    for (const QString &filter : request.filters)
        qtFilters.append(patternForQt(filter));
    dialog.setNameFilters(qtFilters);
    if (auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count() && i < request.filters.size(); ++i)
            types->setItemText(i, request.filters.at(i));
    }
    if (!request.filters.isEmpty())
        dialog.selectNameFilter(request.filters.first());

    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    stayAboveOurTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}
}

std::optional<QString> QtFileChooser::choose(QWidget *parent, const Request &request)
{
    return runDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileChooser::chooseSave(QWidget *parent, const Request &request)
{
    return runDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtFileChooser::chooseFolder(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    stayAboveOurTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList folders = dialog.selectedFiles();
    if (folders.isEmpty())
        return std::nullopt;
    return folders.first();
}
