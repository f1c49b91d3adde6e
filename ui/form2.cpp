#include "ui/form2.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

#include "engine/lampform.h"
#include "engine/numbers.h"
#include "engine/rows.h"
#include "ui/localized.h"
#include "ui/windowlayout.h"

namespace korval {
namespace {

// Every text of the dialog, Italian first. The combo items come from the
// engine, which writes the same texts into the lamp list.
namespace texts {
constexpr Bilingual Caption{"Dati lampade", "Lamps specification"};
constexpr Bilingual Fittings{"Numero di plafoniere  (1 ÷ 999)", "Number of ceiling lights  (1 ÷ 999)"};
constexpr Bilingual Lamps{"Numero lampade per plafoniera  (1 ÷ 99)",
                          "Number of lamps for every ceiling light  (1 ÷ 99)"};
constexpr Bilingual Watts{"Potenza nominale singola lampada  (1 ÷ 999)",
                          "Nominal power of a single lamp  (1 ÷ 999)"};
constexpr Bilingual CosPhi{"Cos.fi  (0.1 ÷ 1)", "Cos.fi  (0.1 ÷ 1)"};
constexpr Bilingual Ballast{"Tipo alimentatore ", "Power pack type "};
constexpr Bilingual Autonomy{"Autonomia ", "autonomy "};
constexpr Bilingual Ok{"OK", "OK"};
constexpr Bilingual Erase{"Elimina", "Erase"};
constexpr Bilingual Cancel{"Annulla", "Cancel"};
constexpr Bilingual TableFull{"Numero massimo di gruppi di lampade raggiunto (250)",
                              "Maximum number of lamp groups reached (250)"};
}  // namespace texts

QGroupBox *MakeFrame(WindowLayout &layout, QWidget *parent, const char *name, const QRect &twips)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    layout.Place(frame, twips);
    return frame;
}

FilteredLineEdit *MakeText(WindowLayout &layout, QGroupBox *frame, const char *name,
                           FilteredLineEdit::KeyFilter filter, int height)
{
    auto *edit = new FilteredLineEdit(std::move(filter), frame);
    edit->setObjectName(QString::fromLatin1(name));
    layout.Place(edit, {120, 240, 4215, height});
    return edit;
}

FilteredLineEdit::KeyFilter IntegerFilter(std::int32_t bound)
{
    return [bound](const QString &text, int key) { return AcceptsIntegerKey(text.toStdString(), key, bound); };
}

QComboBox *MakeComboBox(WindowLayout &layout, QGroupBox *frame, const char *name)
{
    auto *combo = new QComboBox(frame);
    combo->setObjectName(QString::fromLatin1(name));
    layout.Place(combo, {120, 240, 1695, 315});
    combo->addItems({QString(), QString()});
    return combo;
}

QPushButton *MakeButton(WindowLayout &layout, QWidget *parent, const char *name, int left)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    layout.Place(button, {left, 6120, 975, 615});
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Form2::Form2(State &state, MessageBoxes &messages, QWidget *parent)
    : PeerDialog(parent, Qt::Window), m_state(state), m_messages(messages)
{
    setObjectName(QStringLiteral("Form2"));
    m_layout = new WindowLayout(this, 6360, 6960);
    BuildControls();
    Load();
}

void Form2::BuildControls()
{
    // Created in tab order: the four boxes, ballast, autonomy, OK, Elimina, Annulla.
    WindowLayout &layout = *m_layout;
    Frame1 = MakeFrame(layout, this, "Frame1", {840, 480, 4455, 735});
    Frame2 = MakeFrame(layout, this, "Frame2", {840, 1560, 4455, 735});
    Frame3 = MakeFrame(layout, this, "Frame3", {840, 2640, 4455, 735});
    Frame4 = MakeFrame(layout, this, "Frame4", {840, 3720, 4455, 735});
    Frame6 = MakeFrame(layout, this, "Frame6", {840, 4800, 1935, 735});
    Frame5 = MakeFrame(layout, this, "Frame5", {3360, 4800, 1935, 735});

    Text1 = MakeText(layout, Frame1, "Text1", IntegerFilter(99), 375);
    Text2 = MakeText(layout, Frame2, "Text2", IntegerFilter(9), 375);
    Text3 = MakeText(layout, Frame3, "Text3", IntegerFilter(99), 405);
    Text4 = MakeText(
        layout, Frame4, "Text4",
        [](const QString &text, int key) { return AcceptsCosPhiKey(text.toStdString(), key); }, 375);
    Combo2 = MakeComboBox(layout, Frame6, "Combo2");
    Combo1 = MakeComboBox(layout, Frame5, "Combo1");
    Command1 = MakeButton(layout, this, "Command1", 5160);
    Command2 = MakeButton(layout, this, "Command2", 3960);
    Command3 = MakeButton(layout, this, "Command3", 2760);

    QWidget *order[] = {Text1, Text2, Text3, Text4, Combo2, Combo1, Command1, Command2, Command3};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, &Form2::Confirm);
    connect(Command2, &QPushButton::clicked, this, &Form2::Delete);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
}

void Form2::Load()
{
    m_row = m_state.EditIndex;
    if (m_row != 0 && m_row <= RowCount(m_state)) {
        const LampRecord &row = m_state.LampTable[static_cast<std::size_t>(m_row)];
        Text1->SetStoredText(QString::number(row.Fittings));
        Text2->SetStoredText(QString::number(row.LampsPerFitting));
        Text3->SetStoredText(QString::number(row.WattsPerLamp));
        Text4->SetStoredText(QString::fromStdString(CosPhiText(row.CosPhi, LocaleDecimalSeparator())));
        Combo2->setCurrentIndex(row.Ballast != kElectronic ? 1 : 0);
        Combo1->setCurrentIndex(row.Autonomy == 1 ? 0 : 1);
    } else {
        Combo1->setCurrentIndex(0);
        Combo2->setCurrentIndex(0);
    }

    const Language language = m_state.Language;
    setWindowTitle(Localized(texts::Caption, language));
    Frame1->setTitle(Localized(texts::Fittings, language));
    Frame2->setTitle(Localized(texts::Lamps, language));
    Frame3->setTitle(Localized(texts::Watts, language));
    Frame4->setTitle(Localized(texts::CosPhi, language));
    Frame5->setTitle(Localized(texts::Autonomy, language));
    Frame6->setTitle(Localized(texts::Ballast, language));
    Combo1->setItemText(0, QString::fromStdString(AutonomyText(1, language)));
    Combo1->setItemText(1, QString::fromStdString(AutonomyText(3, language)));
    Combo2->setItemText(0, QString::fromStdString(BallastText(kElectronic, language)));
    Combo2->setItemText(1, QString::fromStdString(BallastText(kFerromagnetic, language)));
    Command1->setText(Localized(texts::Ok, language));
    Command2->setText(Localized(texts::Erase, language));
    Command3->setText(Localized(texts::Cancel, language));
    // A screen reader announces each box and list by its frame's caption.
    const std::pair<QWidget *, QGroupBox *> named[] = {{Text1, Frame1}, {Text2, Frame2},  {Text3, Frame3},
                                                       {Text4, Frame4}, {Combo2, Frame6}, {Combo1, Frame5}};
    for (const auto &[control, frame] : named)
        control->setAccessibleName(frame->title().trimmed());
    Text1->setFocus();
}

void Form2::Confirm()
{
    LampForm form;
    form.Fittings = Text1->text().toStdString();
    form.LampsPerFitting = Text2->text().toStdString();
    form.WattsPerLamp = Text3->text().toStdString();
    form.CosPhi = Text4->text().toStdString();
    form.BallastIndex = Combo2->currentIndex();
    form.AutonomyIndex = Combo1->currentIndex();

    const LampCheck check = CheckLampForm(form);
    if (check != LampCheck::Ok) {
        m_messages.Show(this, QString::fromStdString(LampCheckMessage(check, m_state.Language)),
                        MessageIcon::Warning);
        return;
    }
    const LampRecord row = ToLampRecord(form);
    // The row may have gone meanwhile ("Elimina Tutto" in the main window):
    // the user's input is then kept as a new row rather than lost.
    const TableChange change =
        m_row != 0 && m_row <= RowCount(m_state) ? OverwriteRow(m_state, m_row, row) : AppendRow(m_state, row);
    if (change == TableChange::TableFull) {
        m_messages.Show(this, Localized(texts::TableFull, m_state.Language), MessageIcon::Warning);
        return;
    }
    accept();
}

void Form2::Delete()
{
    if (m_row != 0)
        DeleteRow(m_state, m_row);
    done(Erased);
}

}  // namespace korval
