#include "journalmodel.h"

#include "common/csv.h"
#include "common/displaytext.h"

#include <QBrush>
#include <QColor>

namespace {
const QString Headers[JournalModel::ColumnCount] = {
    QStringLiteral("N°"), QStringLiteral("Date"), QStringLiteral("Progression de l'exercice"),
    QStringLiteral("Durée")};

// One grid row per line: characters that would start a new cell or a new row are shown as
// spaces, so that a text always stays inside its own cell.
QString singleLine(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return text;
}

QString formatElapsed(qint32 seconds)
{
    // Made by hand: every recorded line asks for it.
    const qint32 hours = seconds / 3600;
    const qint32 minutes = (seconds / 60) % 60;
    const qint32 secs = seconds % 60;
    if (hours > 99)
        return QStringLiteral("%1:%2:%3")
            .arg(hours, 2, 10, QLatin1Char('0'))
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(secs, 2, 10, QLatin1Char('0'));
    const char16_t text[8] = {char16_t(u'0' + hours / 10), char16_t(u'0' + hours % 10), u':',
                              char16_t(u'0' + minutes / 10), char16_t(u'0' + minutes % 10), u':',
                              char16_t(u'0' + secs / 10), char16_t(u'0' + secs % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 8);
}
}

JournalModel::JournalModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int JournalModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int JournalModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const QTimeZone &JournalModel::systemZone()
{
    // Read once: converting with the local time of the C library reads the zone again for
    // every line drawn when no time zone variable is set.
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    return zone;
}

QLocale JournalModel::stampLocale()
{
    // A machine left on the "C" locale has no regional settings at all: the program's own
    // French formats read better than the bare defaults.
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::French, QLocale::France);
    return system;
}

QString JournalModel::timeFormatWithoutZone(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            // The zone and the blank before it go; quoted literals are left alone.
            while (!result.isEmpty() && result.back().isSpace())
                result.chop(1);
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

QString JournalModel::stamp(const QDateTime &when, const QLocale &locale)
{
    // Every visible row asks for its stamp while painting: the format is worked out once.
    static QLocale cachedLocale = QLocale::c();
    static QString cachedFormat;
    if (cachedFormat.isNull() || !(locale == cachedLocale)) {
        cachedLocale = locale;
        cachedFormat = timeFormatWithoutZone(locale);
    }
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(when.time(), cachedFormat);
}

QString JournalModel::cellText(int line, int column) const
{
    if (line < 0 || line >= rowCount())
        return {};
    const JournalLine &l = m_lines[static_cast<std::size_t>(line)];
    switch (column) {
    case NumberColumn:
        return QString::number(line + 1);
    case DateColumn:
        return stamp(systemZone().isValid() ? QDateTime::fromSecsSinceEpoch(l.stampSecs, systemZone())
                                            : QDateTime::fromSecsSinceEpoch(l.stampSecs));
    case TextColumn:
        return singleLine(l.text);
    case DurationColumn:
        return l.elapsedSecs >= 0 ? formatElapsed(l.elapsedSecs) : singleLine(l.duree);
    }
    return {};
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const JournalLine &l = m_lines[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        // A line naming a very long sentence shows its beginning; the export keeps it whole.
        if (index.column() == TextColumn)
            return singleLine(displayText(l.text, ShownLength));
        return cellText(index.row(), index.column());
    case Qt::ToolTipRole:
        // The text column is narrow for long sentences.
        if (index.column() == TextColumn)
            return displayText(l.text, ShownLength);
        return {};
    case Qt::ForegroundRole:
        if (l.red && index.column() != NumberColumn)
            return QBrush(QColor(255, 0, 0));
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        if (role == Qt::DisplayRole)
            return Headers[section];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags JournalModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The number column is fixed, like the header: it cannot be selected. Nothing is editable.
    if (index.column() == NumberColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void JournalModel::append(JournalLine line)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_lines.push_back(std::move(line));
    endInsertRows();
}

void JournalModel::reset(const QDateTime &now)
{
    beginResetModel();
    // Swapping with a fresh vector gives the memory of a long session back at once.
    std::vector<JournalLine>().swap(m_lines);
    m_lines.push_back(JournalLine{now.toSecsSinceEpoch(), QStringLiteral("Lancement du programme"),
                                  QString(), -1, false});
    endResetModel();
}

QByteArray JournalModel::toCsv() const
{
    QString out;
    out.reserve(static_cast<qsizetype>(m_lines.size()) * 64 + 64);
    Csv::appendRow(out, {Headers[0], Headers[1], Headers[2], Headers[3]});
    for (int line = 0; line < rowCount(); ++line) {
        const JournalLine &l = m_lines[static_cast<std::size_t>(line)];
        Csv::appendRow(out, {QString::number(line + 1), cellText(line, DateColumn), l.text,
                             l.elapsedSecs >= 0 ? formatElapsed(l.elapsedSecs) : l.duree});
    }
    return QByteArray(Csv::ByteOrderMark) + out.toUtf8();
}
