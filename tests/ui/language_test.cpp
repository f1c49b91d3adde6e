#include "tests/cos_phi.h"
#include "tests/support/fixture.h"
#include "ui/windowlayout.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QToolTip>

namespace korval::test {
namespace {

using LanguageSwitch = MainWindowTest;

std::vector<QString> Texts(const Form1 &w)
{
    std::vector<QString> texts{Label(&w, "Label1")->text(),    Button(&w, "Command1")->text(),
                               Button(&w, "Command3")->text(), Button(&w, "Command4")->text(),
                               Button(&w, "Command5")->text(), Button(&w, "Command2")->text(),
                               Frame(&w, "Frame1")->title(),   Frame(&w, "Frame2")->title()};
    for (const ListView *list : {List(&w, "ListView1"), List(&w, "ListView2")})
        for (int c = 1; c <= 6; ++c)
            texts.push_back(ModelOf(list)->ColumnCaption(c));
    return texts;
}

const std::vector<QString> kItalianTexts = Cells({"Selezione modello e quantità UPS",
                                                  "Elenco UPS",
                                                  "Aggiungi Lampade",
                                                  "Elimina Tutto",
                                                  "CALCOLA",
                                                  "Stampa",
                                                  "Pot. 1h richiesta: ",
                                                  "Pot. 3h richiesta: ",
                                                  "N\u00b0 Plafoniere",
                                                  "Lamp. per Plaf.",
                                                  "Watt per Lamp.",
                                                  "Cos.fi",
                                                  "Alimentatore",
                                                  "Autonomia",
                                                  "Autonomia",
                                                  "Codice",
                                                  "Potenza",
                                                  "Quantità",
                                                  "Prezzo unitario",
                                                  "Prezzo totale"});
const std::vector<QString> kEnglishTexts = Cells({"UPS model and quantity Selection",
                                                  "UPS List",
                                                  "Add Lamps",
                                                  "Erase All",
                                                  "Calculate",
                                                  "Print",
                                                  "Power 1h required: ",
                                                  "Power 3h required: ",
                                                  "N\u00b0 Ceil.Lights",
                                                  "Lamps/Ceil.",
                                                  "Watts/Lamp",
                                                  "Cos.fi",
                                                  "Power pack type",
                                                  "Autonomy",
                                                  "Autonomy",
                                                  "Code",
                                                  "Power",
                                                  "Quantity",
                                                  "Unit price",
                                                  "Total price"});

TEST_F(LanguageSwitch, switches_all_twenty_texts_and_back)
{
    EXPECT_EQ(Texts(*window), kItalianTexts);
    for (int round = 0; round < 2; ++round) {
        PickLanguage(1);
        EXPECT_EQ(state.Language, korval::Language::English);
        EXPECT_EQ(Texts(*window), kEnglishTexts);
        PickLanguage(0);
        EXPECT_EQ(state.Language, korval::Language::Italian);
        EXPECT_EQ(Texts(*window), kItalianTexts);
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KORVAL 1.2 2015"));
}

TEST_F(LanguageSwitch, the_arrow_keys_of_the_language_box_switch_it)
{
    Combo("Combo1")->setFocus();
    QTest::keyClick(Combo("Combo1"), Qt::Key_Down);
    EXPECT_EQ(state.Language, korval::Language::English);
    EXPECT_EQ(Button("Command5")->text(), QStringLiteral("Calculate"));
    QTest::keyClick(Combo("Combo1"), Qt::Key_Up);
    EXPECT_EQ(state.Language, korval::Language::Italian);
}

TEST_F(LanguageSwitch, every_selection_resets_the_result_columns)
{
    List("ListView2")->header()->resizeSection(0, 300);
    List("ListView2")->header()->resizeSection(5, 120);
    PickLanguage(1);
    const int widths[] = {133, 133, 133, 133, 0, 0};
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(List("ListView2")->columnWidth(c - 1), widths[c - 1]) << c;
    List("ListView2")->header()->resizeSection(4, 50);
    PickLanguage(1);  // the user picks the language already shown
    EXPECT_EQ(List("ListView2")->columnWidth(4), 0);
}

TEST_F(LanguageSwitch, catalogue_descriptions_follow_but_rows_on_screen_wait)
{
    Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}});
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    PickLanguage(1);

    EXPECT_EQ(state.Catalogue1h[1].Description, "UPS Orvane Monophase/Monophase, Weight 91 Kg, 1 piece");
    EXPECT_EQ(state.Catalogue3h[3].Description, "UPS Orvane Monophase/Monophase, Weight 44+3x130 Kg, 1 piece");
    EXPECT_EQ(state.Catalogue3h[3].Price, 25000);
    EXPECT_EQ(ModelOf(List("ListView1"))->SubItem(1, 4), QStringLiteral("Elettronico"));
    EXPECT_EQ(ModelOf(List("ListView1"))->SubItem(1, 5), QStringLiteral("1 ora"));
    EXPECT_EQ(ModelOf(List("ListView2"))->RowText(1), QStringLiteral("1 ora"));
    EXPECT_EQ(ModelOf(List("ListView2"))->SubItem(3, 4), QStringLiteral("Costo totale:"));
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));
    EXPECT_EQ(QApplication::focusWidget(), Button("Command2")) << "a language change moves no focus";

    // The next refresh (here: the dialog closing) rewrites the lamp rows.
    Form2 *d = OpenAddDialog();
    d->close();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(ModelOf(List("ListView1"))->SubItem(1, 4), QStringLiteral("Electronic"));
    EXPECT_EQ(ModelOf(List("ListView1"))->SubItem(1, 5), QStringLiteral("1 hour"));
    EXPECT_EQ(ModelOf(List("ListView2"))->RowText(1), QStringLiteral("1 ora"))
        << "results wait for the next calculation";
}

using PriceList = MainWindowTest;

// Answers as Windows' own style does: a row's selection is not painted
// across a cell's decoration.
class WindowsSelection final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        return hint == SH_ItemView_ShowDecorationSelected ? 0 : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST_F(PriceList, shows_six_models_with_the_price_hidden)
{
    for (int language : {0, 1}) {
        PickLanguage(language);
        QTest::mouseClick(Button("Command1"), Qt::LeftButton);
        Form3 *list = PriceListShown();
        ASSERT_TRUE(list);
        const bool it = language == 0;
        EXPECT_EQ(list->windowTitle(), it ? QStringLiteral("Elenco UPS") : QStringLiteral("UPS List"));
        const char *captions[2][5] = {{"Codice", "Durata", "Potenza", "Prezzo", "Descrizione"},
                                      {"Code", "Duration", "Power", "Price", "Description"}};
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(ModelOf(List(list, "ListView1"))->ColumnCaption(c),
                      QString::fromLatin1(captions[language][c - 1]));
        const int widths[] = {72, 53, 67, 0, it ? 393 : 399};  // the longest description whole
        WindowsSelection windows;
        for (QStyle *style : {static_cast<QStyle *>(nullptr), static_cast<QStyle *>(&windows)}) {
            List(list, "ListView1")->setStyle(style);
            for (int c = 1; c <= 5; ++c)
                EXPECT_EQ(List(list, "ListView1")->columnWidth(c - 1), widths[c - 1]) << c;
        }
        List(list, "ListView1")->setStyle(nullptr);
        const Rows rows = CellsOf(List(list, "ListView1"));
        ASSERT_EQ(rows.size(), 6u);
        const char *codes[] = {"QX10011", "QX10013", "QX10015", "QX10012", "QX10014", "QX10016"};
        for (std::size_t r = 0; r < 6; ++r) {
            EXPECT_EQ(rows[r][0], QString::fromLatin1(codes[r]));
            EXPECT_EQ(rows[r][1],
                      r < 3 ? (it ? QStringLiteral("1 ora") : QStringLiteral("1 hour"))
                            : (it ? QStringLiteral("3 ore") : QStringLiteral("3 hours")));
        }
        EXPECT_EQ(rows[0][2], QStringLiteral("1000 W"));
        EXPECT_EQ(rows[0][3], QStringLiteral("12000 €"));
        EXPECT_EQ(rows[0][4],
                  it ? QStringLiteral("UPS Orvane Monofase/Monofase, Peso 91 kg")
                     : QStringLiteral("UPS Orvane Monophase/Monophase, Weight 91 Kg, 1 piece"));
        EXPECT_EQ(rows[3][2], QStringLiteral("1000 W"));
        list->close();
        ReturnToMain();
    }
}

TEST_F(PriceList, stays_in_the_language_it_was_opened_in)
{
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Form3 *list = PriceListShown();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list));
    const QAbstractItemModel *model = List(list, "ListView1")->model();
    QSignalSpy reset(model, &QAbstractItemModel::modelReset), inserted(model, &QAbstractItemModel::rowsInserted),
        changed(model, &QAbstractItemModel::dataChanged);
    ReturnToMain();
    PickLanguage(1);
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    EXPECT_EQ(PriceListShown(), list) << "one price list at a time";
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Elenco UPS"));
    EXPECT_TRUE(reset.empty() && inserted.empty() && changed.empty()) << "reopening does not reload";

    list->close();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    list = PriceListShown();
    EXPECT_EQ(list->windowTitle(), QStringLiteral("UPS List"));
    EXPECT_EQ(ModelOf(List(list, "ListView1"))->SubItem(1, 1), QStringLiteral("1 hour"));
}

}  // namespace
}  // namespace korval::test

namespace korval::test {
namespace {

using Readability = MainWindowTest;

// Hovers a point of a list's viewport or header and returns the tooltip shown.
QString HoverText(QWidget *area, const QPoint &at)
{
    // A tooltip fades out: let the last one go first.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    QHelpEvent help(QEvent::ToolTip, at, area->mapToGlobal(at));
    QApplication::sendEvent(area, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QString CellTip(ListView *list, int row, int column)
{
    return HoverText(list->viewport(), list->visualRect(list->model()->index(row - 1, column - 1)).center());
}

TEST_F(Readability, every_text_whole_and_a_cut_one_whole_as_a_tooltip)
{
    ListView *lamps = List("ListView1");
    // A text too wide for its room gets a smaller font; the window's own
    // texts, back in their language, get the font they were drawn with.
    auto *heading = window->findChild<QLabel *>(QStringLiteral("Label1"));
    const QFont drawn = heading->font();
    heading->setText(heading->text().repeated(3));
    window->findChild<WindowLayout *>()->FitTexts();
    EXPECT_LT(heading->font().pointSizeF(), drawn.pointSizeF());
    PickLanguage(0);
    EXPECT_EQ(heading->font(), drawn);
    Seed({{20, 4, 18, 0.5, 3, kFerromagnetic}});
    EXPECT_EQ(CellTip(lamps, 1, 5), QString()) << "a text that fits needs none";
    // The user narrows the column, as a drag of its edge does; the next
    // refresh, with rows that need no more room, leaves it as it is.
    lamps->header()->resizeSection(4, lamps->columnWidth(4) / 2);
    Seed({{10, 2, 36, 0.9, 1, kElectronic}});
    EXPECT_EQ(CellTip(lamps, 1, 5), QStringLiteral("Ferromagnetico"));
    EXPECT_EQ(CellTip(lamps, 1, 1), QString());

    PickLanguage(1);
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ListView *prices = List(PriceListShown(), "ListView1");
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(CellTip(prices, row, 5), QString()) << row;
}

TEST_F(Readability, qt_s_own_buttons_and_menus_speak_the_chosen_language)
{
    struct Case {
        int entry;
        const char *yes, *no, *paste;
    };
    for (const Case &c : {Case{0, "S\u00EC", "No", "Incolla"}, Case{1, "Yes", "No", "Paste"},
                          Case{0, "S\u00EC", "No", "Incolla"}}) {
        PickLanguage(c.entry);
        QMessageBox question;
        question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(question.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QString::fromUtf8(c.yes));
        EXPECT_EQ(question.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QString::fromUtf8(c.no));
        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
        EXPECT_TRUE(entries.contains(QString::fromUtf8(c.paste))) << entries.join(QLatin1Char('|')).toStdString();
    }
}

}  // namespace
}  // namespace korval::test
