#include "ui/windowing.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWindow>

namespace korval {

int Twips(int twips)
{
    return qRound(twips / 15.0);
}

QRect TwipRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

QFont LegacyFont(qreal pointSize, bool bold)
{
    QFont font = QApplication::font();
    // Liberation Sans keeps the narrow metrics the fixed layouts need; the
    // desktop's own sans font stands in where it is missing.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QApplication::font().family()});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

char LocaleDecimalSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
}

void QtMessageBoxes::Show(QWidget *parent, const QString &text, MessageIcon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("KORVAL"));
    box.setText(text);
    box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                   : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::AskYesNo(QWidget *parent, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("KORVAL"));
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

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

void ListModel::ClearRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int ListModel::AddRow(const ListRow &row)
{
    const int n = rowCount() + 1;
    beginInsertRows({}, n - 1, n - 1);
    m_rows.append({QString::fromStdString(row.Text), {}});
    endInsertRows();
    for (std::size_t i = 0; i < row.SubItems.size(); ++i)
        SetSubItem(n, static_cast<int>(i) + 1, QString::fromStdString(row.SubItems[i]));
    return n;
}

void ListModel::SetSubItem(int row, int index, const QString &text)
{
    if (!At(row) || index < 1 || index >= columnCount())
        return;
    QStringList &subItems = m_rows[row - 1].SubItems;
    while (subItems.size() < index)
        subItems.append(QString());
    subItems[index - 1] = text;
    const QModelIndex cell = this->index(row - 1, index);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
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

ListView::ListView(int columns, QWidget *parent) : QTreeView(parent), m_model(new ListModel(columns, this))
{
    setModel(m_model);
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
    header()->resizeSection(column - 1, Twips(twips));
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

void DetachFromOwner(QWidget *window)
{
    // Qt makes a parented window transient for its parent, which window
    // managers keep above the parent; these windows are peers of the main one.
    window->winId();
    if (QWindow *handle = window->windowHandle())
        handle->setTransientParent(nullptr);
}

void BringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, QWidget *parent)
    : QLineEdit(parent), m_filter(std::move(filter))
{
}

bool FilteredLineEdit::FitsAsTyped(QString running, int position, const QString &inserted) const
{
    if (inserted.isEmpty())
        return false;
    for (const QChar c : inserted) {
        // A pasted control character (a line break, a tab) is never typed text.
        if (c.unicode() < 32 || !m_filter(running, c.unicode()))
            return false;
        running.insert(position++, c);
    }
    return true;
}

bool FilteredLineEdit::AcceptsInsertion(const QString &inserted) const
{
    if (!hasSelectedText())
        return FitsAsTyped(text(), cursorPosition(), inserted);
    QString remaining = text();
    remaining.remove(selectionStart(), selectedText().size());
    return FitsAsTyped(remaining, selectionStart(), inserted);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        GuardedPaste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() >= 32 && !(event->modifiers() & Qt::ControlModifier)) {
        if (!m_filter(text(), typed[0].unicode())) {
            event->accept();
            return;
        }
    } else if (typed.size() > 1) {
        // Characters outside the basic plane and composed input are never digits.
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard menu's paste bypasses the filter; its entry carries the
    // paste shortcut after a tab, whatever the language of its text.
    const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->objectName() != QLatin1String("edit-paste")
            && action->text().section(QLatin1Char('\t'), 1) != shortcut)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this,
                [this] { GuardedPaste(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
    }
    menu->popup(event->globalPos());
}

bool FilteredLineEdit::AcceptsDrop(const QMimeData *mime, const QPointF &position)
{
    return mime && mime->hasText() && FitsAsTyped(text(), cursorPositionAt(position.toPoint()), mime->text());
}

void FilteredLineEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (AcceptsDrop(event->mimeData(), event->position()))
        QLineEdit::dragEnterEvent(event);
    else
        event->ignore();
}

void FilteredLineEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (AcceptsDrop(event->mimeData(), event->position()))
        QLineEdit::dragMoveEvent(event);
    else
        event->ignore();
}

void FilteredLineEdit::dropEvent(QDropEvent *event)
{
    if (AcceptsDrop(event->mimeData(), event->position()))
        QLineEdit::dropEvent(event);
    else
        event->ignore();
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The X11 selection paste of the middle button.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!FitsAsTyped(text(), cursorPositionAt(event->position().toPoint()), selection)) {
            event->accept();
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredLineEdit::GuardedPaste(const QString &pasted)
{
    if (isReadOnly())
        return;
    if (AcceptsInsertion(pasted))
        insert(pasted);
    else
        QApplication::beep();
}

}  // namespace korval
