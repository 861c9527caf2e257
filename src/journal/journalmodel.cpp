#include "journalmodel.h"

#include <QBrush>
#include <QColor>
#include <QLocale>
#include <QRegularExpression>

namespace {
const QStringList Headers = {QStringLiteral("N°"), QStringLiteral("Date"),
                             QStringLiteral("Progression de l'exercice"), QStringLiteral("Durée")};

// The locale's long time format without its time zone: hours, minutes and seconds only.
QString timeFormatWithoutZone()
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*$")));
    format.remove(QRegularExpression(QStringLiteral("^\\s*t+\\s*")));
    return format.trimmed();
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
    return parent.isValid() ? 0 : 4;
}

QString JournalModel::stamp(const QDateTime &when)
{
    static const QString timeFormat = timeFormatWithoutZone();
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(when.time(), timeFormat);
}

QString JournalModel::formatElapsed(qint64 seconds)
{
    // Whole days are dropped: 25 hours show as 01:00:00.
    qint64 inDay = seconds % 86400;
    if (inDay < 0)
        inDay += 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
        .arg((inDay / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(inDay % 60, 2, 10, QLatin1Char('0'));
}

QString JournalModel::cellText(int line, int column) const
{
    const JournalLine &l = m_lines[static_cast<std::size_t>(line)];
    switch (column) {
    case 0:
        return QString::number(line + 1);
    case 1:
        return stamp(QDateTime::fromSecsSinceEpoch(l.stampSecs));
    case 2: {
        QString text = l.text;
        return text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    }
    case 3:
        return l.elapsedSecs >= 0 ? formatElapsed(l.elapsedSecs) : l.duree;
    }
    return {};
}

QVariant JournalModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const JournalLine &l = m_lines[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::ForegroundRole:
        if (l.red && index.column() > 0)
            return QBrush(QColor(255, 0, 0));
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
        return Headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
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
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_lines.push_back(JournalLine{now.toSecsSinceEpoch(), QStringLiteral("Lancement du programme"),
                                  QString(), -1, false});
    endResetModel();
}
