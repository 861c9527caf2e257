#include "settingsstore.h"

#include "safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <memory>

namespace {
std::unique_ptr<QSettings> openStore(const QString &folder, const QString &application)
{
    QString base = folder;
    if (base.isEmpty()) {
#ifdef Q_OS_WIN
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Plumalin"), application);
#else
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
               + QStringLiteral("/plumalin");
#endif
    }
    return std::make_unique<QSettings>(base + QLatin1Char('/') + application + QStringLiteral(".ini"),
                                       QSettings::IniFormat);
}

QString keyPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString textOf(const QVariant &value)
{
    // A hand-edited INI line holding unquoted commas reads back as a list: keep it one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// Why the store's file could not be written, as far as the system tells.
QString failureReason(const QSettings &store, int errnum)
{
    const QString file = store.fileName();
    if (QFileInfo(file).isDir())
        return QStringLiteral("« %1 » est un dossier, pas un fichier").arg(file);
    if (errnum != 0)
        return QStringLiteral("%1 (« %2 »)").arg(SafeFile::systemReason(errnum), file);
    return QStringLiteral("le fichier « %1 » ne peut pas être écrit").arg(file);
}
}

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(const QString &folder)
    : m_folder(folder)
{
}

QString SettingsStore::GetSetting(const QString &application, const QString &section,
                                  const QString &key, const QString &fallback) const
{
    if (application.isEmpty() || section.isEmpty() || key.isEmpty())
        return fallback;
    const auto unsaved = m_unsaved.constFind(application);
    if (unsaved != m_unsaved.cend()) {
        const auto value = unsaved->constFind(keyPath(section, key));
        if (value != unsaved->cend())
            return *value;
    }
    auto store = openStore(m_folder, application);
    const QVariant value = store->value(keyPath(section, key));
    return value.isValid() ? textOf(value) : fallback;
}

QString SettingsStore::GetSetting(const QString &application, const QString &section,
                                  const QString &key, int fallback) const
{
    return GetSetting(application, section, key, QString::number(fallback));
}

bool SettingsStore::SaveSetting(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    if (application.isEmpty() || section.isEmpty() || key.isEmpty())
        return false;
    QMap<QString, QString> &unsaved = m_unsaved[application];
    unsaved.insert(keyPath(section, key), value);
    auto store = openStore(m_folder, application);
    // Everything the store should hold afterwards, to check it on disk: Qt's settings file can
    // report success when the last flush of its file failed, leaving the file empty.
    QMap<QString, QString> expected;
    for (const QString &k : store->allKeys())
        expected.insert(k, textOf(store->value(k)));
    errno = 0;
    if (store->format() == QSettings::IniFormat)
        QDir().mkpath(QFileInfo(store->fileName()).absolutePath());
    // Earlier values that the disk refused go with this one.
    for (auto it = unsaved.cbegin(); it != unsaved.cend(); ++it) {
        store->setValue(it.key(), it.value());
        expected.insert(it.key(), it.value());
    }
    store->sync();
    const int errnum = errno;
    bool stored = store->status() == QSettings::NoError;
    if (stored) {
        const auto check = openStore(m_folder, application);
        for (auto it = expected.cbegin(); stored && it != expected.cend(); ++it)
            stored = textOf(check->value(it.key())) == it.value();
    }
    if (stored) {
        m_unsaved.remove(application);
        return true;
    }
    // Whatever the file may have lost is kept here, and written again with the next save.
    unsaved = expected;
    if (!m_reported && m_report) {
        m_reported = true;
        m_report(QStringLiteral("Les réglages n'ont pas pu être enregistrés : %1.\n\n"
                                "Les choix faits restent valables jusqu'à la fermeture du "
                                "programme.")
                     .arg(failureReason(*store, errnum)));
    }
    return false;
}

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

std::optional<int> strictInteger(const QString &text)
{
    // Blanks around the number are allowed, nothing else: no decimals, no letters, no overflow.
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
