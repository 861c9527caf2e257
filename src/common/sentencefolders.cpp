#include "sentencefolders.h"

#include "apptexts.h"
#include "programfolder.h"
#include "safefile.h"
#include "platform/messageboxes.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

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
    std::stable_sort(names.begin(), names.end(), before);
    return names;
}

namespace {
// A letter without its accents and case, ranked after blanks, punctuation, symbols and digits.
struct Letter
{
    int rank;
    char32_t base;
    char32_t accents; // the first accent, if any
    bool capital;
    auto operator<=>(const Letter &) const = default;
};

std::vector<Letter> letters(const QString &name)
{
    std::vector<Letter> out;
    const QString spread = name.normalized(QString::NormalizationForm_D);
    for (const char32_t c : spread.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
            || category == QChar::Mark_SpacingCombining) {
            if (!out.empty() && out.back().accents == 0)
                out.back().accents = c;
            continue;
        }
        // Joined letters are sorted as the two they join.
        struct Joined { char32_t joined, first, second; };
        static constexpr Joined joins[] = {{U'œ', U'o', U'e'}, {U'Œ', U'O', U'E'},
                                           {U'æ', U'a', U'e'}, {U'Æ', U'A', U'E'},
                                           {U'ß', U's', U's'}};
        const auto join = std::find_if(std::begin(joins), std::end(joins),
                                       [c](const Joined &j) { return j.joined == c; });
        if (join != std::end(joins)) {
            for (const char32_t part : {join->first, join->second})
                out.push_back({4, QChar::toCaseFolded(part), 0, QChar::isUpper(part)});
            continue;
        }
        int rank = 4;
        if (QChar::isSpace(c))
            rank = 0;
        else if (QChar::isPunct(c))
            rank = 1;
        else if (QChar::isSymbol(c))
            rank = 2;
        else if (QChar::isDigit(c))
            rank = 3;
        out.push_back({rank, QChar::toCaseFolded(c), 0, QChar::isUpper(c)});
    }
    return out;
}
}

// Compared as a dictionary does: first the letters alone, then their accents, then their case;
// the plain text decides between names equal in all three. Light beside a full collator (the
// one of the system's Unicode library costs near 2 MiB to open), and the same order for the
// names a teacher gives to sentence lists.
bool SentenceFolders::before(const QString &a, const QString &b)
{
    const std::vector<Letter> x = letters(a), y = letters(b);
    const auto primary = [](const Letter &l) { return std::pair(l.rank, l.base); };
    const auto secondary = [](const Letter &l) { return l.accents; };
    const auto tertiary = [](const Letter &l) { return l.capital; };
    const auto compare = [&x, &y](auto key) {
        const std::size_t n = std::min(x.size(), y.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (key(x[i]) != key(y[i]))
                return key(x[i]) < key(y[i]) ? -1 : 1;
        }
        return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    };
    for (const int order : {compare(primary), compare(secondary), compare(tertiary)}) {
        if (order != 0)
            return order < 0;
    }
    return a < b;
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
