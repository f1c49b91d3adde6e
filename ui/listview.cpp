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

// The width a cell's text has in `item`'s room: Qt's styles draw it inside
// the item's text room less a focus frame's margin and a pixel on either side.
int TextRoom(const QStyleOptionViewItem &item, const QWidget *view)
{
    const QStyle *style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - 2 * margin;
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
        ShowIfCut(event, view->viewport(), item.text, item.fontMetrics, TextRoom(item, view));
        return true;
    }
};

}  // namespace

ListView::ListView(QWidget *parent) : QTreeView(parent)
{
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

std::vector<int> ListView::Needs(std::vector<int> &widths) const
{
    const int count = static_cast<int>(m_columnTwips.size());
    widths.assign(m_columnTwips.size(), -1);
    std::vector<int> needs(m_columnTwips.size(), 0);
    for (int c = 0; c < count; ++c) {
        const int twips = m_columnTwips[static_cast<std::size_t>(c)];
        const int width = twips < 0 ? -1 : m_scale.X(twips);
        widths[static_cast<std::size_t>(c)] = width;
        // Headers and cells are read, not hovered: a visible column is at
        // least as wide as its header's text and its widest cell need.
        if (width > 0)
            needs[static_cast<std::size_t>(c)] = std::max(HeaderWidth(c, width), CellWidth(c, width));
    }
    return needs;
}

void ListView::RowsChanged()
{
    // Only rows that need other widths move the columns: a column the user
    // has dragged keeps its width through every refresh of its rows.
    std::vector<int> widths;
    if (Needs(widths) != m_needs) {
        ApplyColumnWidths();
        emit TextsChanged();
    }
}

void ListView::ApplyColumnWidths()
{
    const int count = static_cast<int>(m_columnTwips.size());
    std::vector<int> widths;
    m_needs = Needs(widths);
    const std::vector<int> &needs = m_needs;
    int drawn = 0;
    int wanted = 0;
    for (int c = 0; c < count; ++c) {
        int &width = widths[static_cast<std::size_t>(c)];
        if (width < 0)
            continue;
        drawn += width;
        width = std::max(width, needs[static_cast<std::size_t>(c)]);
        wanted += width;
    }
    // The room the widened columns take comes from the list's own spare
    // room, then from the other columns, the last first, as far as their own
    // texts allow; what is still missing the list scrolls to.
    int excess = wanted - std::max(drawn, contentsRect().width());
    for (int c = count - 1; c >= 0 && excess > 0; --c) {
        int &width = widths[static_cast<std::size_t>(c)];
        const int spare = std::min(excess, width - needs[static_cast<std::size_t>(c)]);
        if (width > 0 && spare > 0) {
            width -= spare;
            excess -= spare;
        }
    }
    int last = -1;
    for (int c = 0; c < count; ++c) {
        if (widths[static_cast<std::size_t>(c)] < 0)
            continue;
        header()->resizeSection(c, widths[static_cast<std::size_t>(c)]);
        if (widths[static_cast<std::size_t>(c)] > 0)
            last = c;
    }
    // The drawn columns fill the drawn list but for a pixel or two; in a
    // list laid out smaller, rounding and the list's own frame would push
    // them a pixel past it, and a scroll bar would come up for that pixel.
    const int over = header()->length() - contentsRect().width();
    if (last >= 0 && over > 0 && over <= kRoundingSlack
        && header()->sectionSize(last) - over >= needs[static_cast<std::size_t>(last)])
        header()->resizeSection(last, header()->sectionSize(last) - over);
}

int ListView::CellWidth(int column, int width) const
{
    if (!model())
        return 0;
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (int r = 0; r < model()->rowCount(); ++r)
        widest = std::max(widest, metrics.horizontalAdvance(model()->index(r, column).data().toString()));
    if (widest == 0)
        return 0;
    QStyleOptionViewItem item;
    initViewItemOption(&item);
    item.features |= QStyleOptionViewItem::HasDisplay;
    item.rect = QRect(0, 0, width, metrics.height());
    // The room a text may take: its whole cell, as a list that selects
    // whole rows paints it, whatever the style's own choice.
    item.showDecorationSelected = true;
    return widest + width - TextRoom(item, this);
}

int ListView::HeaderWidth(int column, int width) const
{
    // The header's text is cut to what the style leaves of the section.
    QStyleOptionHeader option;
    option.initFrom(header());
    option.section = column;
    option.text = model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
    option.rect = QRect(0, 0, width, header()->height());
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, header());
    return option.fontMetrics.horizontalAdvance(option.text) + width - label.width();
}

void ListView::setModel(QAbstractItemModel *model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    // Captions change with the language.
    connect(model, &QAbstractItemModel::headerDataChanged, this, &ListView::ApplyColumnWidths);
    // Rows that come, go or change may need wider columns.
    connect(model, &QAbstractItemModel::modelReset, this, &ListView::RowsChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListView::RowsChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListView::RowsChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &ListView::RowsChanged);
}

void ListView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        ApplyColumnWidths();
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
