#include "qttranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <mutex>
#include <utility>

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

// Qt's file is read at the first text asked of it, when a dialog opens: the main window shows
// none of Qt's texts, and the file would take a tenth of a megabyte from the start.
class FrenchQtTranslator : public QTranslator
{
public:
    FrenchQtTranslator(QString folder, QObject *parent)
        : QTranslator(parent)
        , m_folder(std::move(folder))
    {
    }

    bool available() const
    {
        return QFileInfo::exists(m_folder + QStringLiteral("/qtbase_fr.qm"));
    }

    QString translate(const char *context, const char *source, const char *disambiguation,
                      int n) const override
    {
        // Asked of every new translator at once: French reads left to right.
        if (qstrcmp(source, "QT_LAYOUT_DIRECTION") == 0 && qstrcmp(context, "QGuiApplication") == 0)
            return QStringLiteral("LTR");
        // Texts may be asked from several threads at once.
        std::call_once(m_loaded, [this] {
            if (!m_qt.load(QLocale(QLocale::French), QStringLiteral("qtbase"),
                           QStringLiteral("_"), m_folder))
                qWarning("Qt's French translation is missing from %s", qPrintable(m_folder));
        });
        const QString text = m_qt.translate(context, source, disambiguation, n);
        if (!text.isEmpty())
            return text;
        for (const Text &missing : MissingTexts) {
            if (qstrcmp(missing.context, context) == 0 && qstrcmp(missing.source, source) == 0)
                return QString::fromUtf8(missing.french);
        }
        return {};
    }

    bool isEmpty() const override { return false; }

private:
    QString m_folder;
    mutable std::once_flag m_loaded;
    mutable QTranslator m_qt;
};
}

bool installFrenchQtTranslations(QCoreApplication &app)
{
    auto *translator =
        new FrenchQtTranslator(QLibraryInfo::path(QLibraryInfo::TranslationsPath), &app);
    QCoreApplication::installTranslator(translator);
    return translator->available();
}
