#include "ui/listmodel.h"

#include <algorithm>

namespace korval {

ListModel::ListModel(int columns, QObject *parent)
    : QAbstractTableModel(parent), m_captions(columns), m_alignments(columns, Qt::AlignLeft | Qt::AlignVCenter)
{
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    const Row *row = At(index.row() + 1);
    if (!row || !index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? row->Text : row->SubItems.value(index.column() - 1);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignments.value(index.column()));
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_captions.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_alignments[section]);
    return {};
}

void ListModel::SetColumnCaption(int column, const QString &caption)
{
    if (column < 1 || column > m_captions.size())
        return;
    m_captions[column - 1] = caption;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
}

QString ListModel::ColumnCaption(int column) const
{
    return m_captions.value(column - 1);
}

void ListModel::SetColumnAlignment(int column, Qt::Alignment alignment)
{
    if (column < 1 || column > m_alignments.size())
        return;
    m_alignments[column - 1] = alignment;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, column - 1), index(rowCount() - 1, column - 1), {Qt::TextAlignmentRole});
}

ListModel::Row ListModel::Made(const ListRow &row) const
{
    Row made{QString::fromStdString(row.Text), {}};
    // Sub-items past the last column have nowhere to show.
    const std::size_t room = static_cast<std::size_t>(std::max(0, columnCount() - 1));
    for (std::size_t i = 0; i < row.SubItems.size() && i < room; ++i)
        made.SubItems.append(QString::fromStdString(row.SubItems[i]));
    return made;
}

void ListModel::ClearRows()
{
    SetRows({});
}

void ListModel::SetRows(const std::vector<ListRow> &rows)
{
    beginResetModel();
    m_rows.clear();
    for (const ListRow &row : rows)
        m_rows.append(Made(row));
    endResetModel();
}

int ListModel::AddRow(const ListRow &row)
{
    const int n = rowCount() + 1;
    beginInsertRows({}, n - 1, n - 1);
    m_rows.append(Made(row));
    endInsertRows();
    return n;
}

QString ListModel::RowText(int row) const
{
    const Row *r = At(row);
    return r ? r->Text : QString();
}

QString ListModel::SubItem(int row, int index) const
{
    const Row *r = At(row);
    return r ? r->SubItems.value(index - 1) : QString();
}

int ListModel::SubItemCount(int row) const
{
    const Row *r = At(row);
    return r ? static_cast<int>(r->SubItems.size()) : 0;
}

const ListModel::Row *ListModel::At(int row) const
{
    return row >= 1 && row <= m_rows.size() ? &m_rows[row - 1] : nullptr;
}

ReportTable ReportTableOf(const ListModel &list)
{
    ReportTable table;
    for (int c = 1; c <= list.columnCount(); ++c)
        table.Captions << list.ColumnCaption(c);
    for (int r = 1; r <= list.rowCount(); ++r) {
        ReportTable::Row row{list.RowText(r), {}};
        for (int i = 1; i <= list.SubItemCount(r); ++i)
            row.SubItems << list.SubItem(r, i);
        table.Rows << row;
    }
    return table;
}

}  // namespace korval
