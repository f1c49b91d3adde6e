#pragma once

#include <QLineEdit>
#include <QValidator>

#include <functional>

class QMimeData;

namespace korval {

// Judges every change of a text box's text, whatever brought it: a typed key
// (with any modifier, AltGr included), an input method's commit, a paste from
// the keyboard, the context menu or the middle button, a drop, an assistive
// tool. The inserted characters are judged as if typed one by one: the first
// against the whole text before the change (a selection it replaces
// included), each next one against the text as it then stands. A change with
// any refused character is refused whole. Deleting is always allowed, and so
// is an undo or a redo: it goes back to a text the box held.
//
// What it relies on in QLineEdit (Qt 6), pinned by the input tests:
// - validate() is called once the change is made, with the new text; the
//   box's textChanged, selectionChanged and cursorPositionChanged follow the
//   verdict, so the gate's copy still describes the box before the change.
// - An input method moves the caret before its change is judged.
// - Undo and redo run inside the box's keyPressEvent (for the Undo and Redo
//   key sequences) or from its standard context menu's actions, which carry
//   QLineEdit's texts "&Undo" and "&Redo" in Qt's translation; they are
//   validated like any change, and Qt keeps an undo the validator refuses
//   (it only beeps), so they must not be refused.
class InputGate : public QValidator {
    Q_OBJECT
public:
    using KeyFilter = std::function<bool(const QString &text, int keyCode)>;
    InputGate(KeyFilter filter, QLineEdit *box);

    State validate(QString &input, int &position) const override;

    // True when `inserted` may go in at `position` of `text`, replacing
    // `removed` characters there, as if typed.
    bool Admits(QString text, int position, int removed, const QString &inserted) const;

    // Lets the box take a text from the program (a stored row) unjudged.
    void SetTrustedText(const QString &text);

    // Runs an undo or a redo of the box, which goes back to a text it held.
    template<typename Step> void Replay(Step step)
    {
        m_trusted = true;
        step();
        m_trusted = false;
        // Qt's redo can leave the caret past the end of the text, where the
        // next key would go in after padding spaces.
        const int end = static_cast<int>(m_box->text().size());
        if (m_box->cursorPosition() > end)
            m_box->setCursorPosition(end);
    }

private:
    void RememberText();
    void RememberSelection();

    KeyFilter m_filter;
    QLineEdit *m_box;
    // The box as it was before the change being judged: Qt has already
    // applied the change when it asks.
    QString m_text;
    int m_selectionStart = -1;
    int m_selectionLength = 0;
    bool m_trusted = false;
};

// A single-line text box whose every incoming character passes its InputGate.
// A refused change beeps and leaves the box as it was.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using KeyFilter = InputGate::KeyFilter;
    explicit FilteredLineEdit(KeyFilter filter, QWidget *parent = nullptr);

    // Shows a text the program stored, which typing alone could not give
    // (1000 fittings, say).
    void SetStoredText(const QString &text);

protected:
    // Undo and redo, from the keyboard or the context menu, pass the gate.
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // A drop the gate would refuse is not offered at all.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;

private:
    bool AcceptsDrop(const QMimeData *mime, const QPointF &position);

    InputGate *m_gate;
};

}  // namespace korval
