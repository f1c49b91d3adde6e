#pragma once

#include <QTreeView>

#include <vector>

#include "ui/listmodel.h"
#include "ui/twips.h"

namespace korval {

// Shows a ListModel, handed to it by its window, in report mode. Columns
// keep fixed widths, in twips, but for a caption or a cell that would not
// fit: that column is widened, within the list as far as it has room. Width
// 0 hides a column, whose cells keep their texts, and a cell cut short (a
// column the user made narrower) shows whole as a tooltip. A click on
// a row, or Enter or Space on the current row, reports the row's number.
// Rows and columns count from 1, as in the model.
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);
    void setModel(QAbstractItemModel *model) override;

    void SetColumnWidthTwips(int column, int twips);
    // The window's twip changed size: the columns follow.
    void SetTwipScale(const TwipScale &scale);

signals:
    void RowClicked(int row);
    // Rows came, went or changed that need other column widths.
    void TextsChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Column widths within this many pixels of the list's own width are
    // rounding, not a layout wider than its list.
    static constexpr int kRoundingSlack = 4;
    void ApplyColumnWidths();
    void RowsChanged();
    // Each column's drawn width into `widths` (-1 where none was given), and
    // how wide each visible one must be for its texts to show whole.
    std::vector<int> Needs(std::vector<int> &widths) const;
    // How wide a section of `column`, now `width` wide, must be for its
    // header's text, and for its widest cell's, to show whole.
    int HeaderWidth(int column, int width) const;
    int CellWidth(int column, int width) const;

    TwipScale m_scale;
    std::vector<int> m_columnTwips;
    std::vector<int> m_needs;  // those the columns were last given
};

}  // namespace korval
