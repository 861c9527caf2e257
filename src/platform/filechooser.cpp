#include "filechooser.h"

#include <QFileDialog>

namespace {
std::optional<QString> runDialog(QWidget *parent, const FileChooser::Request &request,
                                 QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (!request.filters.isEmpty())
        dialog.selectNameFilter(request.filters.first());
    // Qt's own dialog, so that it is the same on every desktop and speaks French with Qt's
    // translations; no overwrite question and no added extension.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly
                      | QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
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
