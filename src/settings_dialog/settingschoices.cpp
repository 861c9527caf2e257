#include "settingschoices.h"

#include "common/sentencefolders.h"
#include "common/settingsstore.h"

#include <algorithm>

namespace {
// The lists' fallbacks, as positions of their lines.
constexpr std::array<int, SettingsChoices::ListCount> Fallbacks{4, 4, 0, 0, 0, 0};
const QString FallbackFichier = QStringLiteral("plumalin.txt");
}

SettingsChoices::SettingsChoices(SettingsStore &store, const QString &programFolder)
    : m_store(store)
    , m_programFolder(programFolder)
{
}

const QStringList &SettingsChoices::lines(List list)
{
    static const std::array<QStringList, ListCount> all{
        QStringList{QStringLiteral("3 minute"), QStringLiteral("6 minutes"),
                    QStringLiteral("9 minutes"), QStringLiteral("12 minutes"),
                    QStringLiteral("15 minutes")},
        QStringList{QStringLiteral("30 secondes"), QStringLiteral("1 minute"),
                    QStringLiteral("1,5 minutes"), QStringLiteral("2 minutes"),
                    QStringLiteral("2,5 minutes")},
        QStringList{QStringLiteral("5 phrases"), QStringLiteral("10 phrases"),
                    QStringLiteral("15 phrases"), QStringLiteral("20 phrases")},
        QStringList{QStringLiteral("Non"), QStringLiteral("Oui")},
        QStringList{QStringLiteral("Non"), QStringLiteral("La phrase"),
                    QStringLiteral("La phrase et les mots")},
        QStringList{QStringLiteral("Normale"), QStringLiteral("Lente")},
    };
    return all[size_t(list)];
}

const SettingKey &SettingsChoices::entry(List list)
{
    static const std::array<const SettingKey *, ListCount> all{
        &Settings::DureePhrase, &Settings::DureeMot, &Settings::NbPhrases, &Settings::Son,
        &Settings::LectureVoixHaute, &Settings::VitesseLecture};
    return *all[size_t(list)];
}

SettingsChoices::Selection SettingsChoices::load() const
{
    Selection selection;
    for (int i = 0; i < ListCount; ++i) {
        const auto list = List(i);
        const int fallback = Fallbacks[size_t(i)];
        const std::optional<int> stored =
            strictInteger(m_store.GetSetting(entry(list), QString::number(fallback)));
        const bool valid = stored && *stored >= 0 && *stored < lines(list).size();
        selection.positions[size_t(i)] = valid ? *stored : fallback;
        // Setting the selection is a choice like the user's: it is stored at once.
        choose(list, selection.positions[size_t(i)]);
    }

    const QString fichier = m_store.GetSetting(Settings::Fichier, FallbackFichier);
    selection.files = SentenceFolders::fileNames(m_programFolder);
    // Exact match only, letter case included: the exercise opens the stored name as is.
    selection.file = int(selection.files.indexOf(fichier));
    if (selection.file < 0 && !selection.files.isEmpty())
        selection.file = 0;
    if (selection.file >= 0)
        chooseFile(selection.files.at(selection.file));
    return selection;
}

void SettingsChoices::choose(List list, int position) const
{
    m_store.SaveSetting(entry(list), QString::number(position));
}

void SettingsChoices::chooseFile(const QString &name) const
{
    m_store.SaveSetting(Settings::Fichier, name.trimmed());
}
