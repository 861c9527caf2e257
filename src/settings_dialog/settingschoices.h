#pragma once
#include <QString>
#include <QStringList>

#include <array>

class SettingsStore;
struct SettingKey;

// The settings dialog's rules without its window: the lines of its lists, the line each stored
// entry selects, and the entry each choice writes the moment it is made.
class SettingsChoices
{
public:
    // The lists of positions, in the dialog's order.
    enum List { Niveau, Hasard, Exercice, Son, Lecture, Vitesse, ListCount };

    // What the dialog shows when it opens.
    struct Selection {
        std::array<int, ListCount> positions{};
        QStringList files; // the sentence files of the user's folder and the program's folder
        int file = -1;     // the selected one; -1 when there is none
    };

    SettingsChoices(SettingsStore &store, const QString &programFolder);

    static const QStringList &lines(List list);
    static const SettingKey &entry(List list);

    // Reads the entries and the folder and stores what it selects, as a choice would: a
    // position that is not a valid line gives the list's fallback line; a file name found
    // exactly (letter case included) is selected, else the first file.
    Selection load() const;

    // Stores a choice at once: a list's position, or a file's name trimmed of blanks.
    void choose(List list, int position) const;
    void chooseFile(const QString &name) const;

private:
    SettingsStore &m_store;
    QString m_programFolder;
};
