#include "summarymodels.h"

#include "recordformat.h"

#include "common/csv.h"

#include <QDateTime>

namespace {
const QString ExerciseHeaders[ExerciseTableModel::ColumnCount] = {
    QStringLiteral("Date et heure"),      QStringLiteral("Élève"),
    QStringLiteral("Fichier de phrases"), QStringLiteral("Phrases jouées"),
    QStringLiteral("Mots mal placés"),    QStringLiteral("Mots bleus"),
    QStringLiteral("Phrases hors temps"), QStringLiteral("Note sur 20"),
    QStringLiteral("Temps passé")};

// The figures' headers on two lines in the window, so that their columns stay narrow.
QString shownHeader(int column)
{
    QString text = ExerciseHeaders[column];
    if (column >= ExerciseTableModel::SentenceFileColumn)
        text.replace(text.indexOf(QLatin1Char(' ')), 1, QLatin1Char('\n'));
    return text;
}

const QString WrongWordHeaders[WrongWordModel::ColumnCount] = {
    QStringLiteral("Mot mal placé"), QStringLiteral("Fois"), QStringLiteral("Mot attendu")};
}

ExerciseTableModel::ExerciseTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int ExerciseTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_exercises.size());
}

int ExerciseTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ExerciseTableModel::cellText(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const ExerciseSummary &e = m_exercises[std::size_t(row)];
    switch (column) {
    case DateColumn:
        return RecordFormat::toDateTime(e.start).toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case PupilColumn:
        return e.pupil;
    case SentenceFileColumn:
        return e.sentenceFile;
    case SentencesColumn:
        return QString::number(e.sentencesPlayed);
    case WrongDropsColumn:
        return QString::number(e.wrongDrops);
    case HintsColumn:
        return QString::number(e.hints);
    case TimedOutColumn:
        return QString::number(e.timedOut);
    case MarkColumn:
        return e.mark ? QString::number(*e.mark) : QString();
    case TimeSpentColumn:
        return Summary::duration(e.timeSpent());
    }
    return {};
}

QVariant ExerciseTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ExerciseSummary &e = m_exercises[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == MarkColumn && !e.mark)
            return QStringLiteral("Exercice non terminé");
        return {};
    case Qt::UserRole:
        switch (index.column()) {
        case DateColumn:
            return e.start;
        case SentencesColumn:
            return e.sentencesPlayed;
        case WrongDropsColumn:
            return e.wrongDrops;
        case HintsColumn:
            return e.hints;
        case TimedOutColumn:
            return e.timedOut;
        case MarkColumn:
            return e.mark ? *e.mark : -1;
        case TimeSpentColumn:
            return e.timeSpent();
        }
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() >= SentencesColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant ExerciseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return shownHeader(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ExerciseTableModel::setExercises(std::vector<ExerciseSummary> exercises)
{
    beginResetModel();
    m_exercises = std::move(exercises);
    endResetModel();
}

QByteArray ExerciseTableModel::toCsv() const
{
    QString out;
    QStringList row;
    for (const QString &header : ExerciseHeaders)
        row.append(header);
    Csv::appendRow(out, row);
    for (int r = 0; r < rowCount(); ++r) {
        row.clear();
        for (int c = 0; c < ColumnCount; ++c)
            row.append(cellText(r, c));
        Csv::appendRow(out, row);
    }
    return QByteArray(Csv::ByteOrderMark) + out.toUtf8();
}

WrongWordModel::WrongWordModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int WrongWordModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_counts.size());
}

int WrongWordModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant WrongWordModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const WrongWordCount &w = m_counts[std::size_t(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case DroppedColumn:
            return w.dropped;
        case CountColumn:
            return QString::number(w.count);
        case ExpectedColumn:
            return w.expected.isEmpty() ? QStringLiteral("?") : w.expected;
        }
    } else if (role == Qt::ToolTipRole && index.column() == ExpectedColumn && w.expected.isEmpty()) {
        return QStringLiteral("La phrase s'est terminée avant que le bon mot soit placé.");
    } else if (role == Qt::TextAlignmentRole) {
        if (index.column() == CountColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant WrongWordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return WrongWordHeaders[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void WrongWordModel::setCounts(std::vector<WrongWordCount> counts)
{
    beginResetModel();
    m_counts = std::move(counts);
    endResetModel();
}
