#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
struct Text {
    const char *context;
    const char *source;
    const char *french;
};

// The file dialog's "Type" column: Qt 6 moved these texts to a context that its French
// translation does not have yet, so a folder would read "Folder".
constexpr Text MissingTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "Dossier"},
    {"QAbstractFileIconProvider", "File Folder", "Dossier"},
    {"QAbstractFileIconProvider", "Drive", "Lecteur"},
    {"QAbstractFileIconProvider", "Shortcut", "Raccourci"},
    {"QAbstractFileIconProvider", "Alias", "Alias"},
    {"QAbstractFileIconProvider", "Unknown", "Inconnu"},
};

class FrenchQtTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *source, const char *disambiguation,
                      int n) const override
    {
        const QString text = QTranslator::translate(context, source, disambiguation, n);
        if (!text.isEmpty())
            return text;
        for (const Text &missing : MissingTexts) {
            if (qstrcmp(missing.context, context) == 0 && qstrcmp(missing.source, source) == 0)
                return QString::fromUtf8(missing.french);
        }
        return {};
    }

    bool isEmpty() const override { return false; }
};
}

bool installFrenchQtTranslations(QCoreApplication &app)
{
    auto *translator = new FrenchQtTranslator(&app);
    const bool loaded = translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"),
                                         QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QCoreApplication::installTranslator(translator);
    return loaded;
}
