#include "ui/listview.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace korval {
namespace {

// Shows `text` as a tooltip when the style, painting it `width` pixels wide
// with `metrics`, has to cut it; hides any tooltip otherwise.
void ShowIfCut(const QHelpEvent *help, QWidget *over, const QString &text, const QFontMetrics &metrics, int width)
{
    if (!text.isEmpty() && metrics.horizontalAdvance(text) > width)
        QToolTip::showText(help->globalPos(), text, over);
    else
        QToolTip::hideText();
}

class CutCellTips final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStyle *style = view->style();
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
        // Qt's styles draw a cell's text inside that room less a focus
        // frame's margin and a pixel on either side.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
        ShowIfCut(event, view->viewport(), item.text, item.fontMetrics, text.width() - 2 * margin);
        return true;
    }
};

class CutCaptionTips final : public QHeaderView {
public:
    explicit CutCaptionTips(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) { }

protected:
    bool viewportEvent(QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QHeaderView::viewportEvent(event);
        const auto *help = static_cast<QHelpEvent *>(event);
        const int column = logicalIndexAt(help->pos());
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = column;
        option.text = model() && column >= 0 ? model()->headerData(column, Qt::Horizontal).toString() : QString();
        option.rect = QRect(sectionViewportPosition(column), 0, sectionSize(column), viewport()->height());
        const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        ShowIfCut(help, viewport(), option.text, option.fontMetrics, label.width());
        return true;
    }
};

}  // namespace

ListView::ListView(QWidget *parent) : QTreeView(parent)
{
    setHeader(new CutCaptionTips(this));
    setItemDelegate(new CutCellTips(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionsMovable(false);
    connect(this, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { emit RowClicked(index.row() + 1); });
}

ListModel *ListView::Model() const
{
    return qobject_cast<ListModel *>(model());
}

QRect ListView::CellRect(int row, int column) const
{
    return Model() ? visualRect(Model()->Cell(row, column)) : QRect();
}

void ListView::SetCurrentRow(int row)
{
    if (Model())
        setCurrentIndex(Model()->Cell(row, 1));
}

void ListView::SetColumnWidthTwips(int column, int twips)
{
    if (column < 1)
        return;
    if (m_columnTwips.size() < static_cast<std::size_t>(column))
        m_columnTwips.resize(static_cast<std::size_t>(column), -1);
    m_columnTwips[static_cast<std::size_t>(column - 1)] = twips;
    ApplyColumnWidths();
}

void ListView::SetTwipScale(const TwipScale &scale)
{
    m_scale = scale;
    ApplyColumnWidths();
}

void ListView::ApplyColumnWidths()
{
    int last = -1;
    for (std::size_t c = 0; c < m_columnTwips.size(); ++c) {
        if (m_columnTwips[c] < 0)
            continue;
        header()->resizeSection(static_cast<int>(c), m_scale.X(m_columnTwips[c]));
        if (m_columnTwips[c] > 0)
            last = static_cast<int>(c);
    }
    // The drawn columns fill the drawn list but for a pixel or two; in a
    // list laid out smaller, rounding and the list's own frame would push
    // them a pixel past it, and a scroll bar would come up for that pixel.
    const int excess = header()->length() - contentsRect().width();
    if (last >= 0 && excess > 0 && excess <= kRoundingSlack)
        header()->resizeSection(last, header()->sectionSize(last) - excess);
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && currentIndex().isValid()) {
        emit RowClicked(currentIndex().row() + 1);
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace korval
