#include "tests/cos_phi.h"
#include "tests/support/fixture.h"

namespace korval::test {
namespace {

using LampDialog = MainWindowTest;

const QString kDivision = QStringLiteral("÷");

TEST_F(LampDialog, typed_keys_pass_the_filters_of_each_box)
{
    struct Case {
        const char *box;
        std::vector<std::variant<const char *, Qt::Key>> keys;
        const char *text;
    };
    const Case cases[] = {
        {"Text1", {"1000"}, "100"},
        {"Text1", {"9999"}, "999"},
        {"Text2", {"100"}, "10"},
        {"Text3", {"9999"}, "999"},
        {"Text1", {"a -.,x7"}, "7"},
        {"Text1", {"999", Qt::Key_Backspace, "5"}, "995"},
        {"Text2", {"99", Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, "4"}, "4"},
        {"Text1", {"0099", "9", "9"}, "00999"},
        {"Text4", {"2"}, ""},
        {"Text4", {"9"}, ""},
        {"Text4", {"0.95"}, "0.95"},
        {"Text4", {",5"}, ",5"},
        {"Text4", {"1"}, "1"},
        {"Text4", {"0.123456"}, "0.1234"},
        {"Text4", {"0.5.5"}, "0.5.5"},
        {"Text4", {"0", Qt::Key_Backspace, "3"}, ""},
        {"Text4", {"0.1234", Qt::Key_Backspace, "9"}, "0.1239"},
    };
    for (const Case &c : cases) {
        Form2 *dialog = OpenAddDialog();
        ASSERT_TRUE(dialog);
        auto *box = dialog->findChild<QLineEdit *>(QString::fromLatin1(c.box));
        ASSERT_TRUE(box);
        for (const auto &key : c.keys) {
            if (std::holds_alternative<const char *>(key))
                QTest::keyClicks(box, QString::fromLatin1(std::get<const char *>(key)));
            else
                QTest::keyClick(box, std::get<Qt::Key>(key));
        }
        EXPECT_EQ(box->text(), QString::fromLatin1(c.text)) << c.box;
        dialog->close();
        ReturnToMain();
    }
}

TEST_F(LampDialog, a_selected_full_box_refuses_a_digit_until_deleted)
{
    Form2 *dialog = OpenAddDialog();
    // "5" once stood in the box: typing it over the selection is judged all the same.
    QTest::keyClick(Edit(dialog, "Text1"), Qt::Key_5);
    QTest::keyClick(Edit(dialog, "Text1"), Qt::Key_Backspace);
    QTest::keyClicks(Edit(dialog, "Text1"), QStringLiteral("100"));
    Edit(dialog, "Text1")->selectAll();
    QTest::keyClick(Edit(dialog, "Text1"), Qt::Key_5);
    EXPECT_EQ(Edit(dialog, "Text1")->text(), QStringLiteral("100"));
    QTest::keyClick(Edit(dialog, "Text1"), Qt::Key_Delete);
    QTest::keyClick(Edit(dialog, "Text1"), Qt::Key_5);
    EXPECT_EQ(Edit(dialog, "Text1")->text(), QStringLiteral("5"));
}

TEST_F(LampDialog, opens_in_add_mode_in_either_language)
{
    struct Texts {
        const char *caption, *frame1, *frame2, *frame3, *frame5, *frame6, *hour1, *hour3, *electronic,
            *ferromagnetic, *erase, *cancel;
    };
    const Texts italian{"Dati lampade",
                        "Numero di plafoniere  (1 ÷ 999)",
                        "Numero lampade per plafoniera  (1 ÷ 99)",
                        "Potenza nominale singola lampada  (1 ÷ 999)",
                        "Autonomia ",
                        "Tipo alimentatore ",
                        "1 ora",
                        "3 ore",
                        "Elettronico",
                        "Ferromagnetico",
                        "Elimina",
                        "Annulla"};
    const Texts english{"Lamps specification",
                        "Number of ceiling lights  (1 ÷ 999)",
                        "Number of lamps for every ceiling light  (1 ÷ 99)",
                        "Nominal power of a single lamp  (1 ÷ 999)",
                        "autonomy ",
                        "Power pack type ",
                        "1 hour",
                        "3 hours",
                        "Electronic",
                        "Iron magnetic",
                        "Erase",
                        "Cancel"};
    for (int language : {0, 1}) {
        PickLanguage(language);
        const Texts &t = language == 0 ? italian : english;
        Form2 *d = OpenAddDialog();
        ASSERT_TRUE(d);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(t.caption));
        EXPECT_EQ(Frame(d, "Frame1")->title(), QString::fromUtf8(t.frame1));
        EXPECT_EQ(Frame(d, "Frame2")->title(), QString::fromUtf8(t.frame2));
        EXPECT_EQ(Frame(d, "Frame3")->title(), QString::fromUtf8(t.frame3));
        EXPECT_EQ(Frame(d, "Frame4")->title(), QStringLiteral("Cos.fi  (0.1 ÷ 1)"));
        EXPECT_EQ(Frame(d, "Frame5")->title(), QString::fromUtf8(t.frame5));
        EXPECT_EQ(Frame(d, "Frame6")->title(), QString::fromUtf8(t.frame6));
        EXPECT_EQ(Combo(d, "Combo1")->itemText(0), QString::fromUtf8(t.hour1));
        EXPECT_EQ(Combo(d, "Combo1")->itemText(1), QString::fromUtf8(t.hour3));
        EXPECT_EQ(Combo(d, "Combo2")->itemText(0), QString::fromUtf8(t.electronic));
        EXPECT_EQ(Combo(d, "Combo2")->itemText(1), QString::fromUtf8(t.ferromagnetic));
        EXPECT_EQ(Button(d, "Command1")->text(), QStringLiteral("OK"));
        EXPECT_EQ(Button(d, "Command2")->text(), QString::fromUtf8(t.erase));
        EXPECT_EQ(Button(d, "Command3")->text(), QString::fromUtf8(t.cancel));
        EXPECT_EQ(Combo(d, "Combo1")->currentIndex(), 0);
        EXPECT_EQ(Combo(d, "Combo2")->currentIndex(), 0);
        for (QLineEdit *box : {Edit(d, "Text1"), Edit(d, "Text2"), Edit(d, "Text3"), Edit(d, "Text4")})
            EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), Edit(d, "Text1"));
        d->close();
        ReturnToMain();
    }
}

TEST_F(LampDialog, tab_moves_through_boxes_lists_and_buttons)
{
    Form2 *d = OpenAddDialog();
    const QWidget *expected[] = {Edit(d, "Text2"),      Edit(d, "Text3"),      Edit(d, "Text4"),
                                 Combo(d, "Combo2"),    Combo(d, "Combo1"),    Button(d, "Command1"),
                                 Button(d, "Command2"), Button(d, "Command3"), Edit(d, "Text1")};
    for (const QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(LampDialog, edit_mode_shows_the_stored_row)
{
    const std::tuple<LampRecord, const char *, int, int> cases[] = {
        {{12, 2, 58, kCosPhi09, 3, kFerromagnetic}, "0.9", 1, 1},
        {{5, 1, 100, 1.0, 1, kElectronic}, "1", 0, 0},
        {{5, 1, 100, 0.8500000238418579, 7, 9}, "0.85", 1, 1},
    };
    for (const auto &[row, cosText, ballast, autonomy] : cases) {
        EraseAll(state);
        Seed({row});
        Form2 *d = OpenRow(1);
        ASSERT_TRUE(d);
        EXPECT_EQ(Edit(d, "Text1")->text(), QString::number(row.Fittings));
        EXPECT_EQ(Edit(d, "Text2")->text(), QString::number(row.LampsPerFitting));
        EXPECT_EQ(Edit(d, "Text3")->text(), QString::number(row.WattsPerLamp));
        EXPECT_EQ(Edit(d, "Text4")->text(), QString::fromLatin1(cosText));
        EXPECT_EQ(Combo(d, "Combo2")->currentIndex(), ballast);
        EXPECT_EQ(Combo(d, "Combo1")->currentIndex(), autonomy);
        d->close();
        ReturnToMain();
    }
}

TEST_F(LampDialog, enter_and_escape_press_no_button)
{
    Form2 *d = OpenAddDialog();
    QTest::keyClicks(Edit(d, "Text1"), QStringLiteral("5"));
    QTest::keyClick(Edit(d, "Text1"), Qt::Key_Return);
    QTest::keyClick(Edit(d, "Text1"), Qt::Key_Enter);
    QTest::keyClick(Edit(d, "Text1"), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(LampDialogShown());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.LampCount, 0);
}

TEST_F(LampDialog, checks_report_the_first_failure_in_the_current_language)
{
    struct Case {
        const char *fittings, *lamps, *watts, *cosPhi;
        const char *italian, *english;
    };
    const Case cases[] = {
        {"", "", "", "", "Inserire il numero di plafoniere", "Insert number of ceiling lights"},
        {"0", "", "", "", "Inserire il numero di lampade per plafoniera",
         "Insert number of lamps for every ceiling light"},
        {"0", "0", "", "", "Inserire la potenza nominale della singola lampada",
         "Insert nominal power of single lamp"},
        {"0", "0", "0", "", "Inserire il cos.fi delle lampade", "Insert cos.fi of lamps"},
        {"0", "0", "0", "1", "Inserire un numero corretto di plafoniere",
         "Insert a correct number of ceiling lamps"},
        {"1", "0", "0", "1", "Inserire un numero corretto di lampade per plafoniera",
         "Insert a correct number of lamps for every ceiling light"},
        {"1", "1", "0", "1", "Inserire un numero corretto di potenza per singola lampada",
         "Insert a correct number of power of single lamp"},
        {"1", "1", "1", "0.09", "Inserire un valore accettabile di cos.fi (tra 0.1 e 1)",
         "Insert an accettable value of cos.fi (between 0.1 and 1)"},
        {"1", "1", "1", "1.5", "Inserire un valore accettabile di cos.fi (tra 0.1 e 1)",
         "Insert an accettable value of cos.fi (between 0.1 and 1)"},
        {"999", "99", "999", "0.99", "Potenza richiesta superiore ad 1 MegaWatt, ridurre i dati impostati",
         "Required power is greater than 1 MegaWatt, please decrease the inserted values"},
    };
    for (int language : {0, 1}) {
        PickLanguage(language);
        for (const Case &c : cases) {
            messages.shown.clear();
            Form2 *d = OpenAddDialog();
            ASSERT_TRUE(d);
            Fill(d, c.fittings, c.lamps, c.watts, c.cosPhi);
            QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
            ASSERT_EQ(messages.shown.size(), 1u) << c.italian;
            EXPECT_EQ(messages.shown[0],
                      (ScriptedMessages::Shown{QString::fromUtf8(language ? c.english : c.italian),
                                               MessageIcon::Warning}));
            EXPECT_TRUE(LampDialogShown()) << "the dialog stays open with the input";
            EXPECT_EQ(Edit(d, "Text1")->text(), QString::fromLatin1(c.fittings));
            EXPECT_EQ(Edit(d, "Text4")->text(), QString::fromLatin1(c.cosPhi));
            EXPECT_EQ(state.LampCount, 0);
            d->close();
            ReturnToMain();
        }
    }
}

TEST_F(LampDialog, the_megawatt_boundary_and_the_widest_ranges)
{
    // Typing stops at 999 and 99; 1000 and 100 can only arrive otherwise.
    const std::tuple<const char *, const char *, const char *, const char *, bool> cases[] = {
        {"1000", "10", "100", "1", true}, {"1000", "10", "100", "0.99", false}, {"1000", "100", "1", "0.1", true},
        {"1", "101", "1", "1", false},    {"1", "1", "1000", "1", true},        {"1", "1", "1", "0.1", true},
    };
    for (const auto &[fittings, lamps, watts, cosPhi, accepted] : cases) {
        messages.shown.clear();
        Form2 *d = OpenAddDialog();
        Edit(d, "Text1")->setText(QString::fromLatin1(fittings));
        Edit(d, "Text2")->setText(QString::fromLatin1(lamps));
        Edit(d, "Text3")->setText(QString::fromLatin1(watts));
        Edit(d, "Text4")->setText(QString::fromLatin1(cosPhi));
        const int before = state.LampCount;
        QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(state.LampCount, before + (accepted ? 1 : 0)) << fittings << "x" << lamps << "x" << watts;
        EXPECT_EQ(messages.shown.empty(), accepted);
        if (LampDialogShown())
            LampDialogShown()->close();
        ReturnToMain();
    }
}

TEST_F(LampDialog, a_full_table_keeps_the_dialog_and_the_input)
{
    for (int i = 0; i < kMaxLampRows; ++i)
        AppendRow(state, {1, 1, 1, 1.0, 1, 0});
    window->RefreshMainWindow();
    for (int language : {0, 1}) {
        PickLanguage(language);
        messages.shown.clear();
        Form2 *d = OpenAddDialog();
        Fill(d, "5", "2", "36", "0.9");
        QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  language ? QStringLiteral("Maximum number of lamp groups reached (250)")
                           : QStringLiteral("Numero massimo di gruppi di lampade raggiunto (250)"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_TRUE(LampDialogShown());
        EXPECT_EQ(Edit(d, "Text3")->text(), QStringLiteral("36"));
        EXPECT_EQ(state.LampCount, kMaxLampRows);
        d->close();
        ReturnToMain();
    }
}

}  // namespace
}  // namespace korval::test
