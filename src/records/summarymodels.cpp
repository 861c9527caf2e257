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
    QStringLiteral("Temps passé"),        QStringLiteral("Écoutes")};

const QString PupilHeaders[PupilTableModel::ColumnCount] = {
    QStringLiteral("Élève"),          QStringLiteral("Exercices"),
    QStringLiteral("Phrases jouées"), QStringLiteral("Moyenne sur 20"),
    QStringLiteral("Dernière note"),  QStringLiteral("Tendance"),
    QStringLiteral("Temps passé"),    QStringLiteral("Dernier jour")};

const QString PlayHeaders[PlayTableModel::ColumnCount] = {
    QString(),                       QStringLiteral("Fois jouée"),
    QStringLiteral("Mots mal placés par fois"), QStringLiteral("Hors temps"),
    QStringLiteral("Mots bleus"),    QStringLiteral("Écoutes")};

const QString NoName = QStringLiteral("(sans nom)");

// A figure's header on two lines in the window, so that its column stays narrow.
QString twoLines(QString text)
{
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space > 0)
        text[space] = QLatin1Char('\n');
    return text;
}

QVariant header(const QString &text, bool figure, int role)
{
    if (role == Qt::DisplayRole)
        return figure ? twoLines(text) : text;
    if (role == SummaryTables::ExportHeaderRole)
        return text;
    return {};
}

QVariant alignment(bool right)
{
    return QVariant::fromValue(right ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("dd/MM/yyyy"));
}
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
    case ListensColumn:
        return QString::number(e.listens);
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
        if (index.column() == SentenceFileColumn)
            return e.sentenceFile;
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
        case ListensColumn:
            return e.listens;
        case MarkColumn:
            return e.mark ? *e.mark : -1;
        case TimeSpentColumn:
            return e.timeSpent();
        }
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return alignment(index.column() >= SentencesColumn);
    }
    return {};
}

QVariant ExerciseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        const QVariant text = header(ExerciseHeaders[section], section >= SentencesColumn, role);
        if (text.isValid())
            return text;
    }
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
    return SummaryTables::toCsv(*this);
}

PupilTableModel::PupilTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int PupilTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pupils.size());
}

int PupilTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString PupilTableModel::cellText(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const PupilFigures &p = m_pupils[std::size_t(row)];
    switch (column) {
    case PupilColumn:
        return p.pupil.isEmpty() ? NoName : p.pupil;
    case ExercisesColumn:
        return QString::number(p.exercises);
    case SentencesColumn:
        return QString::number(p.sentences);
    case AverageColumn:
        return p.average ? ClassFigures::mark(*p.average) : QString();
    case LastMarkColumn:
        return p.lastMark ? QString::number(*p.lastMark) : QString();
    case TrendColumn:
        switch (p.trend) {
        case Trend::Up:
            return QStringLiteral("↗ hausse");
        case Trend::Steady:
            return QStringLiteral("→ stable");
        case Trend::Down:
            return QStringLiteral("↘ baisse");
        case Trend::Unknown:
            return QString();
        }
        return {};
    case TimeSpentColumn:
        return Summary::duration(p.timeSpent);
    case LastDayColumn:
        return dayText(p.lastDay);
    }
    return {};
}

QVariant PupilTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PupilFigures &p = m_pupils[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == TrendColumn && p.trend == Trend::Unknown)
            return QStringLiteral("Moins de trois notes sur cette période");
        if (index.column() == TrendColumn)
            return QStringLiteral("D'après les %1 notes de la période").arg(p.marks);
        if (index.column() == PupilColumn)
            return QStringLiteral("Double-cliquez pour voir ses exercices");
        return {};
    case Qt::UserRole:
        switch (index.column()) {
        case PupilColumn:
            return p.pupil;
        case ExercisesColumn:
            return p.exercises;
        case SentencesColumn:
            return p.sentences;
        case AverageColumn:
            return p.average ? *p.average : -1.0;
        case LastMarkColumn:
            return p.lastMark ? *p.lastMark : -1;
        case TrendColumn:
            return int(p.trend);
        case TimeSpentColumn:
            return p.timeSpent;
        case LastDayColumn:
            return p.lastDay.toJulianDay();
        }
        return {};
    case Qt::TextAlignmentRole:
        return alignment(index.column() != PupilColumn && index.column() != TrendColumn);
    }
    return {};
}

QVariant PupilTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        const QVariant text = header(PupilHeaders[section], section != PupilColumn && section != TrendColumn, role);
        if (text.isValid())
            return text;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void PupilTableModel::setPupils(std::vector<PupilFigures> pupils)
{
    beginResetModel();
    m_pupils = std::move(pupils);
    endResetModel();
}

PlayTableModel::PlayTableModel(Names names, QObject *parent)
    : QAbstractTableModel(parent)
    , m_names(names)
{
}

int PlayTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_figures.size());
}

int PlayTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString PlayTableModel::cellText(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const PlayFigures &f = m_figures[std::size_t(row)];
    switch (column) {
    case NameColumn:
        return f.name.isEmpty() && m_names == Names::Pupils ? NoName : f.name;
    case PlayedColumn:
        return QString::number(f.played);
    case AverageWrongColumn:
        return ClassFigures::mark(f.averageWrongDrops());
    case TimedOutColumn:
        return QString::number(f.timedOut);
    case HintsColumn:
        return QString::number(f.hints);
    case ListensColumn:
        return QString::number(f.listens);
    }
    return {};
}

QVariant PlayTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PlayFigures &f = m_figures[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == NameColumn && m_names == Names::Sentences)
            return f.name + QStringLiteral("\nDouble-cliquez pour voir qui a eu du mal");
        return {};
    case Qt::UserRole:
        switch (index.column()) {
        case NameColumn:
            return f.name;
        case PlayedColumn:
            return f.played;
        case AverageWrongColumn:
            return f.averageWrongDrops();
        case TimedOutColumn:
            return f.timedOut;
        case HintsColumn:
            return f.hints;
        case ListensColumn:
            return f.listens;
        }
        return {};
    case Qt::TextAlignmentRole:
        return alignment(index.column() != NameColumn);
    }
    return {};
}

QVariant PlayTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        const QString name = m_names == Names::Sentences ? QStringLiteral("Phrase") : QStringLiteral("Élève");
        const QVariant text = header(section == NameColumn ? name : PlayHeaders[section], section != NameColumn, role);
        if (text.isValid())
            return text;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void PlayTableModel::setFigures(std::vector<PlayFigures> figures)
{
    beginResetModel();
    m_figures = std::move(figures);
    endResetModel();
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
        return alignment(index.column() == CountColumn);
    }
    return {};
}

QVariant WrongWordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString headers[ColumnCount] = {QStringLiteral("Mot mal placé"), QStringLiteral("Fois"),
                                                 QStringLiteral("Mot attendu")};
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        const QVariant text = header(headers[section], false, role);
        if (text.isValid())
            return text;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void WrongWordModel::setCounts(std::vector<WrongWordCount> counts)
{
    beginResetModel();
    m_counts = std::move(counts);
    endResetModel();
}

namespace SummaryTables {
QByteArray toCsv(const QAbstractItemModel &model, std::vector<int> columns)
{
    QString out;
    QStringList row;
    if (columns.empty()) {
        for (int c = 0; c < model.columnCount(); ++c)
            columns.push_back(c);
    }
    for (int c : columns) {
        QString text = model.headerData(c, Qt::Horizontal, ExportHeaderRole).toString();
        if (text.isEmpty())
            text = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().replace(QLatin1Char('\n'), QLatin1Char(' '));
        row.append(text);
    }
    Csv::appendRow(out, row);
    for (int r = 0; r < model.rowCount(); ++r) {
        row.clear();
        for (int c : columns)
            row.append(model.data(model.index(r, c), Qt::DisplayRole).toString());
        Csv::appendRow(out, row);
    }
    return QByteArray(Csv::ByteOrderMark) + out.toUtf8();
}
}
