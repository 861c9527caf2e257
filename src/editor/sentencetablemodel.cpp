#include "sentencetablemodel.h"

#include <QGuiApplication>
#include <QPalette>

const QString SentenceTableModel::HeaderNumber = QStringLiteral("N°");
const QString SentenceTableModel::HeaderSentence = QStringLiteral("Liste des phrases :");

SentenceTableModel::SentenceTableModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(1)
{
}

int SentenceTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SentenceTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant SentenceTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row &row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? row.number : row.sentence;
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // The number column looks like the header: it is not part of the sentences.
        if (index.column() == 0)
            return QGuiApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        if (index.column() == 0)
            return QGuiApplication::palette().buttonText();
        return {};
    default:
        return {};
    }
}

QVariant SentenceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == 0 ? HeaderNumber : HeaderSentence;
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags SentenceTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString SentenceTableModel::TextMatrix(int row, int col) const
{
    if (row == 0)
        return col == 0 ? HeaderNumber : HeaderSentence;
    if (row < 1 || row > int(m_rows.size()))
        return QString();
    const Row &r = m_rows[size_t(row - 1)];
    return col == 0 ? r.number : r.sentence;
}

void SentenceTableModel::setTextMatrix(int row, int col, const QString &text)
{
    if (row < 1 || row > int(m_rows.size()) || col < 0 || col > 1)
        return;
    Row &r = m_rows[size_t(row - 1)];
    (col == 0 ? r.number : r.sentence) = text;
    const QModelIndex cell = index(row - 1, col);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void SentenceTableModel::AddItem(const QString &number, const QString &sentence)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(Row{number, sentence});
    endInsertRows();
}

void SentenceTableModel::RemoveItem(int row)
{
    if (row < 1 || row > int(m_rows.size()))
        return;
    beginRemoveRows({}, row - 1, row - 1);
    m_rows.erase(m_rows.begin() + (row - 1));
    endRemoveRows();
}

void SentenceTableModel::InitGrille()
{
    beginResetModel();
    m_rows.assign(1, Row{});
    endResetModel();
}

void SentenceTableModel::NumeroteGrille()
{
    if (m_rows.empty())
        return;
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].number = QString::number(i + 1);
    emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, 0), {Qt::DisplayRole});
}

void SentenceTableModel::setSentences(const QStringList &sentences)
{
    beginResetModel();
    m_rows.clear();
    if (sentences.isEmpty()) {
        m_rows.emplace_back();
    } else {
        m_rows.reserve(size_t(sentences.size()));
        for (qsizetype i = 0; i < sentences.size(); ++i)
            m_rows.push_back(Row{QString::number(i + 1), sentences[i]});
    }
    endResetModel();
}

QStringList SentenceTableModel::sentences() const
{
    QStringList list;
    list.reserve(qsizetype(m_rows.size()));
    for (const Row &r : m_rows)
        list.append(r.sentence);
    return list;
}
