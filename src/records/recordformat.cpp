#include "recordformat.h"

#include "common/csv.h"

#include <QDateTime>

#include <ctime>

namespace RecordFormat {

QStringList oldHeaders()
{
    return {QStringLiteral("N°"),
            QStringLiteral("Date"),
            QStringLiteral("Progression de l'exercice"),
            QStringLiteral("Durée"),
            QStringLiteral("Rouge"),
            QStringLiteral("Élève"),
            QStringLiteral("Fichier de phrases")};
}

QStringList headers()
{
    return oldHeaders()
           + QStringList{QStringLiteral("Type"),          QStringLiteral("Valeur"),
                         QStringLiteral("Mot"),           QStringLiteral("Mot attendu"),
                         QStringLiteral("Phrase"),        QStringLiteral("Lancement"),
                         QStringLiteral("Exercice"),      QStringLiteral("Millisecondes"),
                         QStringLiteral("Ordinateur")};
}

QByteArray headerBytes()
{
    QString row;
    Csv::appendRow(row, headers());
    return QByteArray(Csv::ByteOrderMark) + row.toUtf8();
}

QString fileSafeName(const QString &computer)
{
    QString name;
    for (const QChar c : computer) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
                           || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        name += plain ? c : QChar(u'_');
    }
    name.truncate(64);
    return name.isEmpty() ? QStringLiteral("ordinateur") : name;
}

QString fileName(const QDate &day, const QString &computer, int part)
{
    QString name = QStringLiteral("journal-") + day.toString(QStringLiteral("yyyy-MM-dd"))
                   + QLatin1Char('-') + fileSafeName(computer);
    if (part > 1)
        name += QLatin1Char('-') + QString::number(part);
    return name + QStringLiteral(".csv");
}

qint64 localSeconds(const QDate &date, int secondsOfDay)
{
    return date.toJulianDay() * 86400 + secondsOfDay;
}

QDateTime toDateTime(qint64 localSecs)
{
    const qint64 day = localSecs / 86400;
    const int secondsOfDay = int(localSecs - day * 86400);
    const QDate date = QDate::fromJulianDay(day);
    const QTime time = QTime::fromMSecsSinceStartOfDay(secondsOfDay * 1000);
    // The same instant, given with the offset the system has for that local time: a local
    // QDateTime asks mktime(), which reads the time zone file again at each call, and a year of
    // exercises asks it tens of thousands of times. Where the offset changes that day (a local
    // time skipped or repeated), the system decides as before.
    const qint64 asUtc = (day - QDate(1970, 1, 1).toJulianDay()) * 86400 + secondsOfDay;
    const time_t guess = time_t(asUtc);
    struct tm parts;
    if (::localtime_r(&guess, &parts)) {
        const time_t instant = time_t(asUtc - parts.tm_gmtoff);
        if (::localtime_r(&instant, &parts) && asUtc - parts.tm_gmtoff == qint64(instant))
            return QDateTime(date, time, Qt::OffsetFromUTC, int(parts.tm_gmtoff));
    }
    return QDateTime(date, time);
}

namespace {
int code(QChar c)
{
    return c.unicode();
}
int code(char c)
{
    return static_cast<unsigned char>(c);
}

template<typename View>
bool digits(View text, qsizetype from, qsizetype count, int &value)
{
    value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const int c = code(text[i]);
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

template<typename View>
bool parse(View text, qint64 &localSecs)
{
    // yyyy-MM-dd HH:mm:ss
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' '
        || text[13] != u':' || text[16] != u':')
        return false;
    int y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, mo) || !digits(text, 8, 2, d)
        || !digits(text, 11, 2, h) || !digits(text, 14, 2, mi) || !digits(text, 17, 2, s))
        return false;
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || s > 59)
        return false;
    localSecs = localSeconds(date, h * 3600 + mi * 60 + s);
    return true;
}
}

bool parseStamp(QStringView text, qint64 &localSecs)
{
    return parse(text, localSecs);
}

bool parseStamp(QByteArrayView text, qint64 &localSecs)
{
    return parse(text, localSecs);
}
}
