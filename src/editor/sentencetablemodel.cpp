#include "sentencetablemodel.h"

#include "common/displaytext.h"


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
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SentenceTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row &row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NumberColumn ? row.number : displayText(row.sentence, ShownLength);
    case Qt::EditRole:
        return index.column() == NumberColumn ? row.number : row.sentence;
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
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

bool SentenceTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= int(m_rows.size())
        || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    Row &row = m_rows[size_t(index.row())];
    (index.column() == NumberColumn ? row.number : row.sentence) = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool SentenceTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > int(m_rows.size()) || count < 1)
        return false;
    beginInsertRows({}, row, row + count - 1);
    m_rows.insert(m_rows.begin() + row, size_t(count), Row{});
    endInsertRows();
    return true;
}

bool SentenceTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > int(m_rows.size()))
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

void SentenceTableModel::renumber()
{
    if (m_rows.empty())
        return;
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].number = QString::number(i + 1);
    emit dataChanged(index(0, NumberColumn), index(int(m_rows.size()) - 1, NumberColumn),
                     {Qt::DisplayRole, Qt::EditRole});
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
