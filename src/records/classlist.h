#pragma once
#include <QString>
#include <QStringList>

#include <vector>

// The pupils the records folder knows, and the two corrections a teacher makes to them: a name
// changed (a misspelt name, or two spellings of one pupil made one) and a pupil's lines deleted
// (a pupil who leaves the school). A changed file is written whole beside itself and put in
// place (the program's safe write), private to its owner; every line the change does not
// concern stays byte for byte as it was, and in a renamed line only the pupil's cell changes.
// A file that cannot be changed is told, in French, and the other files are changed all the
// same.
namespace ClassList {

struct Pupil {
    QString name;
    qint64 lines = 0; // lines of the records written under this name
};

struct Pupils {
    std::vector<Pupil> pupils; // in alphabetical order; lines without a name are left out
    QStringList notes;         // files that could not be read
};

struct Change {
    qint64 lines = 0;     // lines renamed or removed
    int files = 0;        // files rewritten
    QStringList failures; // one French sentence per file that kept lines of the pupil
};

// A name as the records keep it: on one line, spaces simplified.
QString cleanName(const QString &name);

Pupils pupils(const QString &folder);
// The lines of `from` are put under `to` (cleaned). When `to` is already a pupil of the
// records, both spellings are one pupil from then on.
Change rename(const QString &folder, const QString &from, const QString &to);
// Every line of the pupil is taken out of every record file of the folder.
Change remove(const QString &folder, const QString &pupil);
}
