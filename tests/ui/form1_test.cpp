#include "tests/cos_phi.h"
#include "tests/support/fixture.h"
#include "tests/support/print_service.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

namespace korval::test {
namespace {

using MainWindow = MainWindowTest;

const LampRecord kRow860{10, 2, 36, kCosPhi09, 1, kElectronic};

struct Enabled {
    bool add, erase, calculate, print, frames, lamps;
};

void ExpectEnabled(const Form1 &w, Enabled e)
{
    EXPECT_EQ(Button(&w, "Command3")->isEnabled(), e.add) << "Aggiungi Lampade";
    EXPECT_EQ(Button(&w, "Command4")->isEnabled(), e.erase) << "Elimina Tutto";
    EXPECT_EQ(Button(&w, "Command5")->isEnabled(), e.calculate) << "CALCOLA";
    EXPECT_EQ(Button(&w, "Command2")->isEnabled(), e.print) << "Stampa";
    EXPECT_EQ(Frame(&w, "Frame1")->isEnabled(), e.frames) << "Frame1";
    EXPECT_EQ(Frame(&w, "Frame2")->isEnabled(), e.frames) << "Frame2";
    EXPECT_EQ(List(&w, "ListView1")->isEnabled(), e.lamps) << "ListView1";
}

TEST_F(MainWindow, starts_empty_in_italian_with_the_focus_on_add)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KORVAL 1.2 2015"));
    EXPECT_EQ(Combo("Combo1")->currentText(), QStringLiteral("Italiano"));
    EXPECT_EQ(Label("Label1")->text(), QStringLiteral("Selezione modello e quantità UPS"));
    EXPECT_EQ(Button("Command3")->text(), QStringLiteral("Aggiungi Lampade"));
    EXPECT_EQ(ModelOf(List("ListView1"))->rowCount(), 0);
    EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), 0);
    EXPECT_TRUE(Edit("Text1")->text().isEmpty());
    EXPECT_TRUE(Edit("Text2")->text().isEmpty());
    ExpectEnabled(*window, {true, false, false, false, false, true});
    EXPECT_TRUE(Button("Command1")->isEnabled());
    EXPECT_TRUE(Combo("Combo1")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    EXPECT_EQ(state.LampCount, 0);
    EXPECT_EQ(state.EditIndex, 0);
    EXPECT_EQ(state.Language, korval::Language::Italian);
    EXPECT_EQ(state.BestCost, kNoCombinationCost);
    EXPECT_TRUE(state.BestCombination.empty());
    EXPECT_EQ(state.Catalogue1h.size(), 4u);
    EXPECT_EQ(Label("Picture1")->pixmap().size(), QSize(250, 70));
    EXPECT_EQ(window->size(), QSize(721, 541));
}

TEST_F(MainWindow, controls_sit_where_the_layout_puts_them)
{
    const std::tuple<const char *, QRect> cases[] = {
        {"Label1", {24, 24, 297, 23}},    {"Combo1", {344, 24, 113, 21}},     {"Picture1", {472, 0, 253, 73}},
        {"Command3", {32, 88, 113, 49}},  {"Command4", {32, 152, 113, 49}},   {"Frame1", {32, 216, 113, 41}},
        {"Frame2", {32, 256, 113, 41}},   {"Command5", {32, 352, 113, 49}},   {"Command2", {32, 416, 113, 49}},
        {"Command1", {32, 496, 113, 33}}, {"ListView1", {176, 88, 537, 209}}, {"ListView2", {176, 312, 537, 217}},
    };
    for (const auto &[name, rect] : cases) {
        auto *w = window->findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_TRUE(w) << name;
        EXPECT_EQ(w->geometry(), rect) << name;
    }
    EXPECT_EQ(Edit("Text1")->geometry(), QRect(8, 16, 97, 19));
    EXPECT_TRUE(Label("Label1")->font().bold());
    EXPECT_DOUBLE_EQ(Button("Command5")->font().pointSizeF(), 13.5);
    EXPECT_FALSE(Button("Command5")->font().bold());
    EXPECT_TRUE(Button("Command1")->font().bold());
    const int widths[] = {91, 103, 104, 59, 95, 78};
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(List("ListView1")->columnWidth(c - 1), widths[c - 1]) << c;
}

TEST_F(MainWindow, adding_a_group_shows_its_row_and_the_required_powers)
{
    AddLamp("10", "2", "36", "0.9");
    EXPECT_EQ(state.LampCount, 1);
    EXPECT_EQ(state.LampTable[1], kRow860);
    EXPECT_EQ(CellsOf(List("ListView1")), Rows{Cells({"10", "2", "36", "0.9", "Elettronico", "1 ora"})});
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));
    EXPECT_EQ(Edit("Text2")->text(), QStringLiteral("0 W"));
    ExpectEnabled(*window, {true, true, true, false, true, true});
    EXPECT_EQ(QApplication::focusWidget(), Button("Command5"));

    AddLamp("20", "4", "18", "0,5", 1, 1);
    EXPECT_EQ(CellsOf(List("ListView1"))[1], Cells({"20", "4", "18", "0.5", "Ferromagnetico", "3 ore"}));
    EXPECT_EQ(Edit("Text2")->text(), QStringLiteral("3320 W"));
    EXPECT_EQ(state.LampTable[2].Ballast, kFerromagnetic);
    EXPECT_EQ(state.LampTable[2].Autonomy, 3);
}

TEST_F(MainWindow, editing_rewrites_only_the_clicked_row)
{
    Seed({{1, 1, 1, 1.0, 1, 0}, {2, 2, 2, 1.0, 1, 0}, {3, 3, 3, 1.0, 1, 0}});
    Form2 *d = OpenRow(2);
    ASSERT_TRUE(d);
    EXPECT_FALSE(List("ListView1")->isEnabled());
    EXPECT_EQ(state.EditIndex, 2);
    Fill(d, "7", "7", "7", "1", 1, 1);
    QPointer<Form2> watch(d);
    QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 3);
    EXPECT_EQ(CellsOf(List("ListView1")),
              (Rows{Cells({"1", "1", "1", "1", "Elettronico", "1 ora"}),
                    Cells({"7", "7", "7", "1", "Ferromagnetico", "3 ore"}),
                    Cells({"3", "3", "3", "1", "Elettronico", "1 ora"})}));
    EXPECT_TRUE(List("ListView1")->isEnabled());
    EXPECT_EQ(state.EditIndex, 0);
}

TEST_F(MainWindow, erase_in_the_dialog_deletes_the_row_it_shows)
{
    struct Case {
        int row;
        std::vector<std::int32_t> left;
    };
    for (const Case &c : {Case{2, {1, 3}}, Case{3, {1, 2}}, Case{1, {2, 3}}}) {
        EraseAll(state);
        Seed({{1, 1, 1, 1.0, 1, 0}, {2, 2, 2, 1.0, 1, 0}, {3, 3, 3, 1.0, 1, 0}});
        Form2 *d = OpenRow(c.row);
        ASSERT_TRUE(d);
        QSignalSpy ended(d, &QDialog::finished);
        QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_EQ(ended.size(), 1);
        EXPECT_EQ(ended[0][0].toInt(), Form2::Erased);
        std::vector<std::int32_t> left;
        for (const LampRecord &r : ReadRows(state))
            left.push_back(r.Fittings);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(ModelOf(List("ListView1"))->rowCount(), 2);
    }
    // In add mode "Elimina" only closes.
    Form2 *d = OpenAddDialog();
    QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 2);
    EXPECT_FALSE(LampDialogShown());
}

TEST_F(MainWindow, cancel_and_the_close_box_change_nothing)
{
    Seed({kRow860});
    for (bool closeBox : {false, true}) {
        Form2 *d = OpenRow(1);
        Fill(d, "5", "5", "5", "1");
        QSignalSpy ended(d, &QDialog::finished);
        if (closeBox)
            d->close();
        else
            QTest::mouseClick(Button(d, "Command3"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_FALSE(LampDialogShown());
        ASSERT_EQ(ended.size(), 1);
        EXPECT_EQ(ended[0][0].toInt(), QDialog::Rejected);
        EXPECT_EQ(state.LampTable[1], kRow860);
        EXPECT_EQ(state.LampCount, 1);
    }
}

TEST_F(MainWindow, deleting_the_last_row_keeps_the_result_list)
{
    Seed({kRow860});
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    ASSERT_EQ(ModelOf(List("ListView2"))->rowCount(), 3);
    Form2 *d = OpenRow(1);
    QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(ModelOf(List("ListView1"))->rowCount(), 0);
    EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), 3);
    EXPECT_TRUE(Edit("Text1")->text().isEmpty());
    ExpectEnabled(*window, {true, false, false, false, false, true});
}

TEST_F(MainWindow, adding_after_a_calculation_keeps_print_and_the_results)
{
    Seed({kRow860});
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    AddLamp("1", "1", "1", "1");
    EXPECT_TRUE(Button("Command2")->isEnabled());
    EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), 3);
    EXPECT_EQ(ModelOf(List("ListView1"))->rowCount(), 2);
}

TEST_F(MainWindow, erase_all_asks_first)
{
    // Every change of the lists here, captions included, keeps Qt's rules
    // for a model; a broken one ends the test at once.
    using Tester = QAbstractItemModelTester;
    const Tester lamps(List("ListView1")->model(), Tester::FailureReportingMode::Fatal);
    const Tester results(List("ListView2")->model(), Tester::FailureReportingMode::Fatal);
    for (bool yes : {false, true}) {
        for (int language : {0, 1}) {
            EraseAll(state);
            PickLanguage(language);
            Seed({kRow860});
            QTest::mouseClick(Button("Command5"), Qt::LeftButton);
            state.EditIndex = 9;  // any value: the refresh that follows resets it
            messages.answers.push_back(yes);
            QTest::mouseClick(Button("Command4"), Qt::LeftButton);
            ASSERT_EQ(messages.questions.size(), 1u);
            EXPECT_EQ(messages.questions[0],
                      language ? QStringLiteral("Are you sure? All data will be lost")
                               : QStringLiteral("Sei sicuro di voler eliminare tutto?"));
            messages.questions.clear();
            EXPECT_EQ(state.EditIndex, 0) << "the refresh runs either way";
            EXPECT_EQ(state.LampCount, yes ? 0 : 1);
            EXPECT_EQ(ModelOf(List("ListView1"))->rowCount(), yes ? 0 : 1);
            EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), yes ? 0 : 3);
            if (yes) {
                ExpectEnabled(*window, {true, false, false, false, false, true});
                EXPECT_TRUE(Edit("Text1")->text().isEmpty());
                EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
            } else {
                EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));
                EXPECT_EQ(QApplication::focusWidget(), Button("Command5"));
            }
        }
    }
    PickLanguage(0);
    AddLamp("4", "4", "4", "1");
    EXPECT_EQ(state.LampTable[1].Fittings, 4) << "the next row goes into slot 1 again";
}

TEST_F(MainWindow, the_dialog_keeps_its_row_whatever_the_main_window_does)
{
    Seed({{1, 1, 1, 1.0, 1, 0}, {2, 2, 2, 1.0, 1, 0}, {3, 3, 3, 1.0, 1, 0}});

    // A visit to the main window resets EditIndex; "OK" still overwrites row 3.
    Form2 *d = OpenRow(3);
    ReturnToMain();
    EXPECT_EQ(state.EditIndex, 0);
    EXPECT_TRUE(List("ListView1")->isEnabled());
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    Fill(d, "30", "3", "3", "1");
    QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 3);
    EXPECT_EQ(state.LampTable[3].Fittings, 30);
    EXPECT_EQ(state.LampTable[1].Fittings, 1);

    // Clicking row 1 while the dialog shows row 3 only brings the dialog back.
    d = OpenRow(3);
    Fill(d, "33", "3", "3", "1");
    ReturnToMain();
    OpenRow(1);
    EXPECT_EQ(LampDialogShown(), d);
    EXPECT_EQ(Edit(d, "Text1")->text(), QStringLiteral("33")) << "reopening does not reload";
    QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampTable[1].Fittings, 1);
    EXPECT_EQ(state.LampTable[3].Fittings, 33);

    // "Elimina" removes the row shown, not the row clicked meanwhile.
    d = OpenRow(2);
    ReturnToMain();
    OpenRow(1);
    QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 2);
    EXPECT_EQ(state.LampTable[1].Fittings, 1);
    EXPECT_EQ(state.LampTable[2].Fittings, 33);
}

TEST_F(MainWindow, an_edit_whose_row_was_erased_becomes_a_new_row)
{
    Seed({{1, 1, 1, 1.0, 1, 0}, {2, 2, 2, 1.0, 1, 0}});
    Form2 *d = OpenRow(2);
    ReturnToMain();
    messages.answers.push_back(true);
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    ASSERT_EQ(state.LampCount, 0);

    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 1);
    EXPECT_EQ(state.LampTable[1].Fittings, 2);

    d = OpenRow(1);
    ReturnToMain();
    messages.answers.push_back(true);
    QTest::mouseClick(Button("Command4"), Qt::LeftButton);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampCount, 0) << "Elimina on a vanished row only closes";
}

TEST_F(MainWindow, only_a_return_from_our_own_windows_refreshes)
{
    Seed({kRow860});
    state.EditIndex = 1;
    // Leaving for another application and coming back.
    emit qApp->focusWindowChanged(nullptr);
    emit qApp->focusWindowChanged(window->windowHandle());
    EXPECT_EQ(state.EditIndex, 1);

    // Coming back from the price list is an activation.
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(PriceListShown()));
    state.EditIndex = 1;
    ReturnToMain();
    EXPECT_EQ(state.EditIndex, 0);

    // So is the price list closing.
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(PriceListShown()));
    state.EditIndex = 1;
    PriceListShown()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.EditIndex == 0; }));
}

TEST_F(MainWindow, a_press_that_comes_before_its_activation_still_clicks)
{
    // Wayland's order: the press, then the window active, then the release.
    Seed({kRow860});
    ListView *lamps = List("ListView1");
    const struct {
        const char *what;
        QWidget *target;
        QPoint at;
        std::function<bool()> clicked;
    } presses[] = {
        {"Elenco UPS", Button("Command1"), Button("Command1")->rect().center(),
         [this] { return PriceListShown()->isActiveWindow(); }},
        {"a lamp row", lamps->viewport(), lamps->visualRect(lamps->model()->index(0, 0)).center(),
         [this] { return LampDialogShown() && LampDialogShown()->isActiveWindow(); }},
    };
    for (const auto &press : presses) {
        SCOPED_TRACE(press.what);
        QTest::mouseClick(Button("Command1"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(PriceListShown()));
        QTest::mousePress(press.target, Qt::LeftButton, {}, press.at);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseRelease(press.target, Qt::LeftButton, {}, press.at);
        EXPECT_TRUE(QTest::qWaitFor(press.clicked));
        for (QWidget *open : {static_cast<QWidget *>(LampDialogShown()), static_cast<QWidget *>(PriceListShown())})
            if (open)
                open->close();
        ReturnToMain();
    }
}

TEST_F(MainWindow, the_dialog_exists_once)
{
    Form2 *first = OpenAddDialog();
    QTest::keyClicks(Edit(first, "Text1"), QStringLiteral("12"));
    ReturnToMain();
    Form2 *second = OpenAddDialog();
    EXPECT_EQ(first, second);
    EXPECT_EQ(Edit(second, "Text1")->text(), QStringLiteral("12"));
    EXPECT_EQ(window->findChildren<Form2 *>().size(), 1);
    EXPECT_EQ(first->parentWidget(), window.get()) << "owned by the main window";
    EXPECT_FALSE(first->windowHandle()->transientParent()) << "yet a peer window, not kept above it";
    // Only the three windows are windows of the window system: a control
    // made native too would be a window of its own under X11.
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(PriceListShown());
    int native = 0;
    for (QWidget *widget : QApplication::allWidgets())
        native += widget->internalWinId() != 0 && !qobject_cast<QMenu *>(widget) ? 1 : 0;
    EXPECT_EQ(native, 3);
}

TEST_F(MainWindow, keyboard_alone_opens_a_row)
{
    Seed({kRow860});
    List("ListView1")->setFocus();
    QTest::keyClick(List("ListView1"), Qt::Key_Home);
    QTest::keyClick(List("ListView1"), Qt::Key_Return);
    ASSERT_TRUE(LampDialogShown());
    EXPECT_EQ(Edit(LampDialogShown(), "Text1")->text(), QStringLiteral("10")) << "the row's own values";
    EXPECT_FALSE(List("ListView1")->isEnabled());
}

}  // namespace
}  // namespace korval::test

namespace korval::test {
namespace {

// Restores the test locale even when an assertion ends the test early.
struct LocaleGuard {
    explicit LocaleGuard(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

TEST_F(MainWindow, cos_phi_follows_the_locale_separator_and_reads_back)
{
    LocaleGuard italian(QLocale(QLocale::Italian, QLocale::Italy));
    Seed({{12, 2, 58, kCosPhi09, 3, kFerromagnetic}});
    EXPECT_EQ(ModelOf(List("ListView1"))->SubItem(1, 3), QStringLiteral("0,9"));
    Form2 *d = OpenRow(1);
    EXPECT_EQ(Edit(d, "Text4")->text(), QStringLiteral("0,9"));
    QTest::mouseClick(Button(d, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(state.LampTable[1].CosPhi, kCosPhi09) << "stored again unchanged";
}

}  // namespace
}  // namespace korval::test

namespace korval::test {
namespace {

TEST_F(MainWindow, a_minimised_window_that_is_asked_for_comes_back_as_it_was)
{
    Seed({kRow860});
    // Each window with a mark a reload would wipe out.
    const auto markText = [](QWidget *w) { Edit(w, "Text1")->setText(QStringLiteral("77")); };
    const auto textMarked = [](QWidget *w) { return Edit(w, "Text1")->text() == QStringLiteral("77"); };
    struct Opener {
        std::function<QWidget *()> open;
        std::function<void(QWidget *)> mark;
        std::function<bool(QWidget *)> marked;
    };
    const Opener openers[] = {
        {[this]() -> QWidget * { return OpenAddDialog(); }, markText, textMarked},
        {[this]() -> QWidget * { return OpenRow(1); }, markText, textMarked},
        {[this]() -> QWidget * {
             QTest::mouseClick(Button("Command1"), Qt::LeftButton);
             return PriceListShown();
         },
         // Rows loaded again would be heard of.
         [](QWidget *w) {
             QAbstractItemModel *model = List(w, "ListView1")->model();
             model->setProperty("loaded", 0);
             const auto loaded = [model] { model->setProperty("loaded", 1); };
             QObject::connect(model, &QAbstractItemModel::modelReset, model, loaded);
             QObject::connect(model, &QAbstractItemModel::rowsInserted, model, loaded);
         },
         [](QWidget *w) { return List(w, "ListView1")->model()->property("loaded") == 0; }},
    };
    for (const Opener &o : openers) {
        QWidget *first = o.open();
        ASSERT_TRUE(first);
        o.mark(first);
        first->showMinimized();
        ASSERT_TRUE(first->isMinimized());
        ReturnToMain();
        QWidget *again = o.open();
        EXPECT_EQ(again, first) << "the same window, not a new one";
        EXPECT_FALSE(again->isMinimized());
        EXPECT_TRUE(QTest::qWaitForWindowActive(again));
        EXPECT_TRUE(o.marked(again)) << "no reload";
        again->close();
        ReturnToMain();
    }
}

TEST(MainWindowStart, refreshes_once_when_first_shown_with_or_without_activation)
{
    // A row with an unknown ballast reports itself at every refresh.
    State state;
    AppendRow(state, {1, 1, 100, 1.0, 1, 5});
    ScriptedMessages messages;
    Form1 window(state, messages);
    window.show();
    EXPECT_EQ(messages.shown.size(), 1u) << "the first refresh needs no window manager";
    EXPECT_TRUE(test::Button(&window, "Command4")->isEnabled());
    EXPECT_EQ(test::Edit(&window, "Text1")->text(), QStringLiteral("100 W"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1u) << "the activation that follows does not refresh again";

    EraseAll(state);
    Form1 empty(state, messages);
    empty.show();
    EXPECT_FALSE(test::Button(&empty, "Command4")->isEnabled());
    EXPECT_FALSE(test::Button(&empty, "Command5")->isEnabled());
    EXPECT_FALSE(test::Frame(&empty, "Frame1")->isEnabled());
}

}  // namespace
}  // namespace korval::test

namespace korval::test {
namespace {

TEST_F(MainWindow, printing_without_a_print_service_never_passes_for_printed)
{
    // Whichever way this build prints (CUPS itself, or Qt's printer support),
    // a print service that is not there is a warning, never silence.
    QTemporaryDir dir;
    const auto server = SetForScope("CUPS_SERVER", QFile::encodeName(dir.filePath(QStringLiteral("none.sock"))));
    const auto home = SetForScope("HOME", QFile::encodeName(dir.path()));
    Seed({kRow860});
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !JobOnItsWay(); }, kBusyMachineMs));
    ASSERT_EQ(messages.shown.size(), 1u);
#ifdef KORVAL_PRINTS_THROUGH_CUPS
    EXPECT_TRUE(messages.shown[0].text.startsWith(
        QStringLiteral("Errore di stampa\nil servizio di stampa non è raggiungibile\n")))
        << messages.shown[0].text.toStdString();
#else
    // Qt's printer support tells a print service that is not there from no
    // printer at all by nothing.
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Nessuna stampante predefinita installata"));
#endif
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
}

// What each end of a print job tells the user, in either language.
TEST(PrintMessages, say_what_became_of_the_job_in_the_program_s_words_then_the_service_s)
{
    struct Case {
        PrintOutcome outcome;
        const char *detail;
        std::optional<const char *> italian, english;
    };
    const Case cases[] = {
        {PrintOutcome::Printed, "", std::nullopt, std::nullopt},
        {PrintOutcome::Cancelled, "", std::nullopt, std::nullopt},
        {PrintOutcome::NoPrinter, "", "Nessuna stampante predefinita installata",
         "No default printer is installed"},
        {PrintOutcome::Unreachable, "No such file or directory",
         "Errore di stampa\nil servizio di stampa non è raggiungibile\nNo such file or directory",
         "Printing failed\nthe print service cannot be reached\nNo such file or directory"},
        {PrintOutcome::NoAnswer, "", "Errore di stampa\nil servizio di stampa non risponde",
         "Printing failed\nthe print service does not answer"},
        {PrintOutcome::Refused, "Not accepting jobs.",
         "Errore di stampa\nil servizio di stampa ha rifiutato il lavoro\nNot accepting jobs.",
         "Printing failed\nthe print service refused the job\nNot accepting jobs."},
        {PrintOutcome::Failed, "Broken pipe",
         "Errore di stampa\nil lavoro non è arrivato alla stampante\nBroken pipe",
         "Printing failed\nthe job did not reach the printer\nBroken pipe"},
    };
    for (const Case &c : cases) {
        const PrintResult result{c.outcome, QString::fromUtf8(c.detail)};
        for (const auto &[language, expected] :
             {std::pair{Language::Italian, c.italian}, std::pair{Language::English, c.english}}) {
            SCOPED_TRACE(static_cast<int>(c.outcome) * 10 + static_cast<int>(language));
            const std::optional<QString> told =
                expected ? std::optional<QString>(QString::fromUtf8(*expected)) : std::nullopt;
            EXPECT_EQ(PrintMessage(result, language), told);
        }
    }
}

}  // namespace
}  // namespace korval::test
