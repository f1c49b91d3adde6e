#include "ui/inputgate.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace korval {

InputGate::InputGate(KeyFilter filter, QLineEdit *box) : QValidator(box), m_filter(std::move(filter)), m_box(box)
{
    // Qt asks once it has made a change, and reports the new text only after
    // the verdict: the copy describes the box before the change being judged.
    connect(box, &QLineEdit::textChanged, this, &InputGate::RememberText);
    connect(box, &QLineEdit::selectionChanged, this, &InputGate::RememberSelection);
    connect(box, &QLineEdit::cursorPositionChanged, this, &InputGate::RememberSelection);
    RememberText();
}

void InputGate::RememberText()
{
    m_text = m_box->text();
    RememberSelection();
}

void InputGate::RememberSelection()
{
    // An input method moves the caret before its change is judged.
    if (m_box->text() != m_text)
        return;
    m_selectionStart = m_box->hasSelectedText() ? m_box->selectionStart() : -1;
    m_selectionLength = m_box->hasSelectedText() ? static_cast<int>(m_box->selectedText().size()) : 0;
}

bool InputGate::Admits(QString text, int position, int removed, const QString &inserted) const
{
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        const QChar c = inserted[i];
        // A control character (a line break, a tab) is never typed text.
        if (c.unicode() < 32 || !m_filter(text, c.unicode()))
            return false;
        if (i == 0)
            text.remove(position, removed);
        text.insert(position + i, c);
    }
    return true;
}

QValidator::State InputGate::validate(QString &input, int &position) const
{
    if (m_trusted)
        return Acceptable;
    const QString &before = m_text;
    // What replaced what: the selection when the change fits around it,
    // otherwise the span between the common beginning and the common end.
    int start = 0;
    int removed = 0;
    if (m_selectionStart >= 0) {
        const qsizetype tail = before.size() - m_selectionStart - m_selectionLength;
        if (input.size() >= m_selectionStart + tail && input.startsWith(before.left(m_selectionStart))
            && input.endsWith(before.right(tail))) {
            start = m_selectionStart;
            removed = m_selectionLength;
        }
    }
    if (removed == 0) {
        const qsizetype limit = std::min(before.size(), input.size());
        qsizetype prefix = 0;
        while (prefix < limit && before[prefix] == input[prefix] && prefix < position)
            ++prefix;
        qsizetype suffix = 0;
        // The caret stands right after what went in: neither end reaches past it.
        while (suffix < limit - prefix && input.size() - suffix > position
               && before[before.size() - 1 - suffix] == input[input.size() - 1 - suffix])
            ++suffix;
        start = static_cast<int>(prefix);
        removed = static_cast<int>(before.size() - prefix - suffix);
    }
    const QString inserted = input.mid(start, input.size() - (before.size() - removed));
    return inserted.isEmpty() || Admits(before, start, removed, inserted) ? Acceptable : Invalid;
}

void InputGate::SetTrustedText(const QString &text)
{
    m_trusted = true;
    m_box->setText(text);
    m_trusted = false;
}

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, QWidget *parent)
    : QLineEdit(parent), m_gate(new InputGate(std::move(filter), this))
{
    setValidator(m_gate);
    connect(this, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
}

void FilteredLineEdit::SetStoredText(const QString &text)
{
    m_gate->SetTrustedText(text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        m_gate->Replay([&] { QLineEdit::keyPressEvent(event); });
    else
        QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    if (!menu)
        return;
    // Newer Qt names the menu's actions; Qt 6.4 knows them by their texts
    // alone, in its own translation.
    for (QAction *action : menu->actions()) {
        const QString text = action->text().section(QLatin1Char('\t'), 0, 0);
        const QString name = action->objectName();
        const bool undo = name.isEmpty() ? text == QCoreApplication::translate("QLineEdit", "&Undo")
                                         : name == QLatin1String("edit-undo");
        const bool redo = name.isEmpty() ? text == QCoreApplication::translate("QLineEdit", "&Redo")
                                         : name == QLatin1String("edit-redo");
        if (!undo && !redo)
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this,
                [this, undo] { m_gate->Replay([this, undo] { undo ? QLineEdit::undo() : QLineEdit::redo(); }); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool FilteredLineEdit::AcceptsDrop(const QMimeData *mime, const QPointF &position)
{
    if (!mime || !mime->hasText() || isReadOnly())
        return false;
    return m_gate->Admits(text(), cursorPositionAt(position.toPoint()), 0, mime->text());
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

}  // namespace korval
