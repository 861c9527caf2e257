#include "recordformat.h"

#include "common/csv.h"

#include <QDateTime>

#include <limits>

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
    // The offset from UTC found for a day serves for its other times, checked: making a local
    // time from its date and time makes the C library read the time zone file again each time,
    // and a year of exercises asks it thousands of times.
    thread_local qint64 knownDay = std::numeric_limits<qint64>::min();
    thread_local qint64 knownOffset = 0;
    if (day == knownDay) {
        const qint64 asUtc = (day - QDate(1970, 1, 1).toJulianDay()) * 86400 + secondsOfDay;
        const QDateTime guess = QDateTime::fromSecsSinceEpoch(asUtc - knownOffset);
        if (guess.date() == date && guess.time() == time)
            return guess;
    }
    const QDateTime exact(date, time);
    if (exact.isValid()) {
        knownDay = day;
        knownOffset = exact.offsetFromUtc();
    }
    return exact;
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
