#pragma once

// The window-toolkit layer the three windows are built from: twip geometry,
// message boxes behind a replaceable interface, the report-mode list view and
// the key-filtered text box.

#include <QFont>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <functional>

#include "rows.h"
#include "state.h"

class QComboBox;

namespace korval {

// 1 twip = 1/15 logical pixel.
int Twips(int twips);
QRect TwipRect(int left, int top, int width, int height);

// The windows were laid out for "MS Sans Serif", which Linux desktops lack:
// a font of similar width at the given size.
QFont LegacyFont(qreal pointSize, bool bold);

// The separator the user's locale writes decimals with, as long as the cos phi
// reader understands it ('.' otherwise).
char LocaleDecimalSeparator();

// A push button whose caption wraps onto a second line when it does not fit,
// as the fixed-size buttons of the main window need.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Every message box of the program goes through this interface, so tests can
// read the texts and answer the questions.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal, caption "KORVAL", one OK button.
    virtual void Show(QWidget *parent, const QString &text, MessageIcon icon) = 0;
    // Modal, caption "KORVAL", no icon, Yes is the default. True for Yes.
    virtual bool AskYesNo(QWidget *parent, const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget *parent, const QString &text, MessageIcon icon) override;
    bool AskYesNo(QWidget *parent, const QString &text) override;
};

// A list view in report mode. Rows and columns count from 1; sub-item i is
// column i + 1. Widths are in twips; width 0 hides a column, whose cells keep
// their texts.
class ListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);

    void SetColumnCount(int count);
    int ColumnCount() const { return columnCount(); }
    void SetColumnCaption(int column, const QString &caption);
    QString ColumnCaption(int column) const;
    void SetColumnWidthTwips(int column, int twips);
    int ColumnWidthPixels(int column) const { return columnWidth(column - 1); }
    void SetColumnAlignment(int column, Qt::Alignment alignment);

    void ClearRows();
    int AddRow(const QString &text);  // returns the new row's number
    int AddRow(const ListRow &row);   // the row's text and all its sub-items
    void SetSubItem(int row, int index, const QString &text);
    QString RowText(int row) const;
    QString SubItem(int row, int index) const;
    int SubItemCount(int row) const;  // the highest sub-item ever set on the row
    int RowCount() const { return topLevelItemCount(); }

signals:
    // A row was clicked, or chosen with Enter or Space.
    void RowClicked(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTreeWidgetItem *Item(int row) const;
    QList<Qt::Alignment> m_alignments;
};

// A single-line text box whose typed characters pass a filter first. The filter
// sees the whole text before the key; keys without a character (arrows,
// Delete) and control characters are not its business. A paste or a drop is
// accepted only if typing its characters one by one would have been.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using KeyFilter = std::function<bool(const QString &text, int keyCode)>;
    explicit FilteredLineEdit(KeyFilter filter, QWidget *parent = nullptr);

    // True when `inserted` may replace the current selection (or go in at the
    // cursor) as if typed.
    bool AcceptsInsertion(const QString &inserted) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool FitsAsTyped(QString running, int position, const QString &inserted) const;
    void GuardedPaste(const QString &text);
    bool AcceptsDrop(const QMimeData *mime, const QPointF &position);

    KeyFilter m_filter;
};

// The window in `slot` if it is open. A closed window may linger until the
// event loop deletes it; it no longer counts.
template<typename Window>
Window *OpenWindow(const QPointer<Window> &slot)
{
    return slot && slot->isVisible() ? slot.data() : nullptr;
}

// Modeless single-instance windows: brings the open one to the front, or
// creates one (destroyed when closed) and shows it.
template<typename Window, typename Create>
Window *ShowSingle(QPointer<Window> &slot, Create create)
{
    if (OpenWindow(slot)) {
        slot->raise();
    } else {
        slot = create();
        slot->setAttribute(Qt::WA_DeleteOnClose);
        slot->show();
    }
    slot->activateWindow();
    return slot;
}

}  // namespace korval
