#include "ui/windowing.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWindow>

namespace korval {

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

void QtTexts::Use(Language language)
{
    if (m_installed)
        m_installed = !QCoreApplication::removeTranslator(&m_translator);
    if (language != Language::Italian)
        return;
    // Debian's qt6-translations-l10n; a bundle keeps them beside the program.
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (m_translator.load(QStringLiteral("qtbase_it"), folder)) {
            m_installed = QCoreApplication::installTranslator(&m_translator);
            return;
        }
    }
}

void DetachFromOwner(QWidget *window)
{
    // Qt makes a parented window transient for its parent, which window
    // managers and compositors keep above the parent; these windows are
    // peers of the main one. By the time it is shown the window's handle
    // exists, and what is cleared here stays cleared through hide and show.
    if (QWindow *handle = window->windowHandle())
        handle->setTransientParent(nullptr);
}

bool KeepsDialogOpen(const QKeyEvent *event)
{
    // Escape and Enter keep the meaning they have in the main window (none):
    // neither closes a dialog of the program.
    return event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void BringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    // A Wayland compositor may refuse a program's own request to activate or
    // raise a window (it only marks it urgent), and no client can bring a
    // minimised window back; but every compositor shows and focuses a window
    // that is mapped anew. Hiding keeps the window and what it holds.
    if (window->isVisible() && !window->isActiveWindow()
        && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window->hide();
    window->show();
    window->raise();
    window->activateWindow();
}

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
