#pragma once
#include <QString>
#include <QStringList>

class MessageBoxes;
class QWidget;

// Where the sentence files live. The program's folder may be read-only (an installed program),
// so each user also has a folder of their own, userPlumalinFolder(), where their lists go. A
// file name is looked up there first, then in the program's folder.
namespace SentenceFolders {

// The path of the sentence file of that name: in the user's folder when a file of that name is
// there, else in the program's folder (whether or not it exists there).
QString pathOf(const QString &name, const QString &programFolder);

// The ".txt" files of both folders (plain, not hidden), each name once, in alphabetical order.
QStringList fileNames(const QString &programFolder);

// Makes the file chosen at `path` for the exercise the one that `name` (the name to be stored)
// leads to. A file that the name does not lead to (in another folder, or hidden by a file of
// the user's folder) is copied there under that name: replacing a different file is asked
// first, and a failed copy is told in French. False when the user says no or the copy fails:
// the exercise's file must then stay as it was.
bool adopt(const QString &path, const QString &name, const QString &programFolder,
           MessageBoxes &messages, QWidget *parent);
}
