#pragma once

// The rows of the program's lists, as its views show them and its report
// prints them.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

#include "engine/rows.h"
#include "ui/print/report.h"

namespace korval {

// The rows of a report-mode list: each row has its text (column 1) and its
// sub-items (sub-item i is column i + 1). Rows, columns and sub-items count
// from 1 here; Qt's own interface (rowCount, columnCount, data, headerData)
// serves the view and anything else that reads the list.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(int columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void SetColumnCaption(int column, const QString &caption);
    QString ColumnCaption(int column) const;
    void SetColumnAlignment(int column, Qt::Alignment alignment);

    void ClearRows();
    // All the rows at once, in place of those there were.
    void SetRows(const std::vector<ListRow> &rows);
    int AddRow(const ListRow &row);  // the row's text and all its sub-items; returns its number
    QString RowText(int row) const;
    QString SubItem(int row, int index) const;
    int SubItemCount(int row) const;  // the sub-items the row was given

private:
    struct Row {
        QString Text;
        QStringList SubItems;
    };
    const Row *At(int row) const;
    Row Made(const ListRow &row) const;

    QStringList m_captions;
    QList<Qt::Alignment> m_alignments;
    QList<Row> m_rows;
};

// A list's texts as the report prints them.
ReportTable ReportTableOf(const ListModel &list);

}  // namespace korval
