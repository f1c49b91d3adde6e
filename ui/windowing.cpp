#include "windowing.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QLocale>
#include <QMimeData>
#include <QStyleOptionButton>
#include <QStylePainter>

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
    box.setIcon(icon == MessageIcon::Error     ? QMessageBox::Critical
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

ListView::ListView(QWidget *parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionsMovable(false);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { emit RowClicked(indexOfTopLevelItem(item) + 1); });
}

void ListView::SetColumnCount(int count)
{
    setColumnCount(count);
    m_alignments = QList<Qt::Alignment>(count, Qt::AlignLeft | Qt::AlignVCenter);
}

void ListView::SetColumnCaption(int column, const QString &caption)
{
    headerItem()->setText(column - 1, caption);
}

QString ListView::ColumnCaption(int column) const
{
    return headerItem()->text(column - 1);
}

void ListView::SetColumnWidthTwips(int column, int twips)
{
    header()->resizeSection(column - 1, Twips(twips));
}

void ListView::SetColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignments[column - 1] = alignment;
    headerItem()->setTextAlignment(column - 1, alignment);
}

void ListView::ClearRows()
{
    clear();
}

int ListView::AddRow(const QString &text)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setTextAlignment(0, m_alignments.value(0));
    item->setData(0, Qt::UserRole, 0);
    return topLevelItemCount();
}

int ListView::AddRow(const ListRow &row)
{
    const int n = AddRow(QString::fromStdString(row.Text));
    for (std::size_t i = 0; i < row.SubItems.size(); ++i)
        SetSubItem(n, static_cast<int>(i) + 1, QString::fromStdString(row.SubItems[i]));
    return n;
}

void ListView::SetSubItem(int row, int index, const QString &text)
{
    QTreeWidgetItem *item = Item(row);
    if (!item || index < 1 || index >= columnCount())
        return;
    item->setText(index, text);
    item->setTextAlignment(index, m_alignments.value(index));
    item->setData(0, Qt::UserRole, std::max(index, SubItemCount(row)));
}

QString ListView::RowText(int row) const
{
    const QTreeWidgetItem *item = Item(row);
    return item ? item->text(0) : QString();
}

QString ListView::SubItem(int row, int index) const
{
    const QTreeWidgetItem *item = Item(row);
    return item ? item->text(index) : QString();
}

int ListView::SubItemCount(int row) const
{
    const QTreeWidgetItem *item = Item(row);
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && currentItem()) {
        emit RowClicked(indexOfTopLevelItem(currentItem()) + 1);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QTreeWidgetItem *ListView::Item(int row) const
{
    return row >= 1 && row <= topLevelItemCount() ? topLevelItem(row - 1) : nullptr;
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
        if (action->objectName() != QLatin1String("edit-paste") && action->text().section(QLatin1Char('\t'), 1) != shortcut)
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
