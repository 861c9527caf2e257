#pragma once
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// One entry of the per-user settings store: application, section and key, spelled exactly.
struct SettingKey {
    QString application;
    QString section;
    QString key;
};

// The table of entries, declared once. Fallbacks belong to each reader and stay with it.
namespace Settings {
inline const QString Application = QStringLiteral("Plumalin");
inline const QString Demarrage = QStringLiteral("Démarrage");
inline const QString Position = QStringLiteral("Position");

inline const SettingKey DureePhrase{Application, Demarrage, QStringLiteral("Durée_Phrase")};
inline const SettingKey DureeMot{Application, Demarrage, QStringLiteral("Durée_Mot")};
inline const SettingKey NbPhrases{Application, Demarrage, QStringLiteral("NbPhrases")};
inline const SettingKey Son{Application, Demarrage, QStringLiteral("Son")};
// Reading aloud: "0" no, "1" the sentence and the bubbles, "2" the words of the tiles too.
inline const SettingKey LectureVoixHaute{Application, Demarrage, QStringLiteral("Lecture")};
// The pace of the voice: "0" normal, "1" slow.
inline const SettingKey VitesseLecture{Application, Demarrage, QStringLiteral("Vitesse")};
inline const SettingKey Fichier{Application, Demarrage, QStringLiteral("Fichier")};
inline const SettingKey MainLeft{Application, Position, QStringLiteral("MainLeft")};
inline const SettingKey MainTop{Application, Position, QStringLiteral("MainTop")};
inline const SettingKey MainWidth{Application, Position, QStringLiteral("MainWidth")};
inline const SettingKey MainHeight{Application, Position, QStringLiteral("MainHeight")};
// The records folder chosen in the summary window; empty or absent: Documents/Plumalin/Journaux.
inline const SettingKey DossierJournaux{Application, QStringLiteral("Journaux"), QStringLiteral("Dossier")};
// The sound folder: read by the sound player, written by nothing in the program.
inline const SettingKey SoundFolder{QStringLiteral("Configuration"), QStringLiteral("Fichier"),
                                    QStringLiteral("Son")};
}

// The per-user settings store: texts under (application, section, key). Every save is on disk
// when it returns, so an abrupt end of the program loses nothing. A save the disk refuses is
// kept in memory for the rest of the run (and tried again with the next save), and the first
// such failure of the run is reported.
class SettingsStore
{
public:
    // The user's own store (the platform's usual place for per-user settings).
    SettingsStore();
    // A store kept in the given folder, one INI file per application name; used by the tests.
    explicit SettingsStore(const QString &folder);

    QString GetSetting(const QString &application, const QString &section, const QString &key,
                       const QString &fallback) const;
    QString GetSetting(const QString &application, const QString &section, const QString &key,
                       int fallback) const;
    bool SaveSetting(const QString &application, const QString &section, const QString &key,
                     const QString &value);

    QString GetSetting(const SettingKey &entry, const QString &fallback) const
    {
        return GetSetting(entry.application, entry.section, entry.key, fallback);
    }
    bool SaveSetting(const SettingKey &entry, const QString &value)
    {
        return SaveSetting(entry.application, entry.section, entry.key, value);
    }

    // Receives, once per run, a French message when a save could not be written.
    void setFailureReport(std::function<void(const QString &message)> report)
    {
        m_report = std::move(report);
    }

private:
    QString m_folder; // empty: the platform's native per-user store
    // Values chosen but not yet on disk, by application, then "section/key".
    QMap<QString, QMap<QString, QString>> m_unsaved;
    std::function<void(const QString &)> m_report;
    bool m_reported = false;
};

// The exercise's reading of a stored number: blanks skipped, the leading decimal number counts,
// 0 when the text does not start with one.
double leadingNumber(const QString &text);

// The settings dialog's reading: the whole text (blanks around it allowed) must be a whole
// number that fits an int; anything else gives nothing.
std::optional<int> strictInteger(const QString &text);
