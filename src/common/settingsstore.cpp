#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

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
    auto store = openStore(m_folder, application);
    const QVariant value = store->value(keyPath(section, key));
    if (!value.isValid())
        return fallback;
    // A hand-edited INI line holding unquoted commas reads back as a list: keep it one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
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
    auto store = openStore(m_folder, application);
    if (store->format() == QSettings::IniFormat)
        QDir().mkpath(QFileInfo(store->fileName()).absolutePath());
    store->setValue(keyPath(section, key), value);
    store->sync();
    return store->status() == QSettings::NoError;
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
