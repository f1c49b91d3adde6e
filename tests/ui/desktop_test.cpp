#include "tests/cos_phi.h"
#include "tests/support/desktop.h"
#include "tests/support/fixture.h"
#include "ui/listview.h"
#include "ui/windows.h"
#include "ui/wrappingbutton.h"

#include <QHeaderView>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QStyleOptionHeader>

#include <map>

namespace korval::test {
namespace {

std::string Text(const QRect &r)
{
    return QStringLiteral("%1x%2%3%4%5%6")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x() < 0 ? "" : "+")
        .arg(r.x())
        .arg(r.y() < 0 ? "" : "+")
        .arg(r.y())
        .toStdString();
}

// Every text of a window fits the room its style gives it, measured in the
// control's own font as the style lays out and paints each kind; no two
// controls of one parent overlap (frames drawn edge on edge share a line of
// their border); the window lies inside its screen's free area.
void ExpectAtHome(const QWidget *window, const char *name)
{
    ASSERT_TRUE(window) << name;
    SCOPED_TRACE(name);
    const auto fits = [](const QWidget *control, const char *part, int needed, int room) {
        EXPECT_LE(needed, room) << control->objectName().toStdString() << " " << part;
    };
    QStringList overlaps;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        if (control->window() != window || control->objectName().isEmpty() || !control->isVisible())
            continue;
        const QFontMetrics metrics = control->fontMetrics();
        const QStyle *style = control->style();
        if (const auto *list = qobject_cast<const ListView *>(control)) {
            // Columns drawn to fill the list bring up no scroll bar; every
            // shown header and cell is whole, a cell's text in its cell less
            // a focus frame's margin and a pixel either side, as Qt's
            // styles paint a list that selects whole rows.
            const QHeaderView *header = list->header();
            fits(list, "columns", header->length(), list->contentsRect().width());
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            for (int c = 0; c < header->count(); ++c) {
                if (header->sectionSize(c) == 0)
                    continue;  // a hidden column
                QStyleOptionHeader option;
                option.initFrom(header);
                option.text = list->model()->headerData(c, Qt::Horizontal).toString();
                option.rect =
                    QRect(header->sectionViewportPosition(c), 0, header->sectionSize(c), header->height());
                const QRect label = style->subElementRect(QStyle::SE_HeaderLabel, &option, header);
                fits(list, "header", header->fontMetrics().horizontalAdvance(option.text), label.width());
                for (int r = 0; r < list->model()->rowCount(); ++r) {
                    const QModelIndex cell = list->model()->index(r, c);
                    const QString text = cell.data().toString();
                    fits(list, qPrintable(QStringLiteral("cell \"%1\"").arg(text)),
                         metrics.horizontalAdvance(text), list->visualRect(cell).width() - 2 * margin);
                }
            }
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect label =
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            // A caption's closing blank is not drawn: it needs no room.
            fits(frame, "caption", label.left() + metrics.horizontalAdvance(frame->title().trimmed()),
                 frame->width());
            for (const QWidget *inside : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                fits(frame, "caption above its box", label.top() + metrics.height(), inside->y());
        } else if (const auto *button = qobject_cast<const QPushButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            // The main window's buttons wrap their caption onto more lines.
            const int wrap = qobject_cast<const WrappingButton *>(button) ? Qt::TextWordWrap : 0;
            const QRect text = metrics.boundingRect(room, Qt::AlignCenter | wrap, button->text());
            fits(button, "text width", text.width(), room.width());
            fits(button, "text height", text.height(), room.height());
        } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field =
                style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                fits(combo, "entry width", metrics.horizontalAdvance(combo->itemText(i)), field.width());
            fits(combo, "entry height", metrics.height(), field.height());
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.rect = edit->contentsRect();
            option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
            // QLineEdit keeps two pixels either side of its text.
            const QRect line =
                style->subElementRect(QStyle::SE_LineEditContents, &option, edit).adjusted(2, 0, -2, 0);
            fits(edit, "line width", metrics.horizontalAdvance(edit->text()), line.width());
            fits(edit, "line height", metrics.height(), line.height());
        } else if (const auto *label = qobject_cast<const QLabel *>(control)) {
            const QSize text = label->pixmap().isNull() ? metrics.size(0, label->text())
                                                        : label->pixmap().deviceIndependentSize().toSize();
            fits(label, "width", text.width(), label->contentsRect().width());
            fits(label, "height", text.height(), label->contentsRect().height());
        }
        for (const QWidget *sibling :
             control->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QRect shared = control->geometry() & sibling->geometry();
            if (sibling < control && !sibling->objectName().isEmpty() && sibling->isVisible()
                && !sibling->isWindow() && shared.width() > 2 && shared.height() > 2)
                overlaps << control->objectName() + QStringLiteral(" over ") + sibling->objectName();
        }
    }
    EXPECT_TRUE(overlaps.isEmpty()) << overlaps.join(QStringLiteral(", ")).toStdString();
    // A window that changed screens comes back inside once it is shown there.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return window->screen()->availableGeometry().contains(window->frameGeometry());
    })) << "reaches past its screen's free area: "
        << Text(window->frameGeometry()) << " in " << Text(window->screen()->availableGeometry());
}

class Desktops : public MainWindowTest {
protected:
    void SetUp() override { }

    // The main window, its logo drawn for the screen's pixel ratio.
    void OpenMainWindow()
    {
        state = State{};
        window = std::make_unique<Form1>(state, messages);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Measured in the font the run stands for: Linux's, or the one a
        // font configuration of the run's own gives for another platform's.
        EXPECT_EQ(QFontInfo(window->font()).family().toStdString(),
                  qEnvironmentVariable("KORVAL_LAYOUT_FONT", QStringLiteral("Liberation Sans")).toStdString());
        ExpectLogoDrawnFor(window->devicePixelRatioF());
    }

    // Pixel for pixel at the screen's ratio, filling its place.
    void ExpectLogoDrawnFor(qreal ratio)
    {
        const QLabel *logo = Label("Picture1");
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return !logo->pixmap().isNull() && logo->pixmap().devicePixelRatio() == ratio;
        })) << "the logo is drawn for ratio "
            << logo->pixmap().devicePixelRatio();
        // Its place is rounded to whole pixels, the logo not.
        const QSizeF drawn = logo->pixmap().deviceIndependentSize();
        EXPECT_GE(std::max((drawn.width() + 1) / logo->width(), (drawn.height() + 1) / logo->height()), 0.95)
            << "the logo is drawn at " << drawn.width() << "x" << drawn.height() << " in " << logo->width() << "x"
            << logo->height();
    }

    // Each control's font against the window's: the proportions drawn.
    std::map<QString, int> FontProportions() const
    {
        std::map<QString, int> proportions;  // in hundredths
        for (const QWidget *control : window->findChildren<QWidget *>())
            if (control->window() == window.get() && !control->objectName().isEmpty()
                && !qobject_cast<const QComboBox *>(control))
                proportions[control->objectName()] =
                    qRound(100 * control->font().pointSizeF() / window->font().pointSizeF());
        return proportions;
    }
};

TEST_F(Desktops, every_window_whole_at_every_font_and_scale)
{
    const Desktop desktops[] = {
        {"1366x768 at 100 %, 9 pt (Qt)", 1366, 768, 1, 9},
        {"1366x768 at 100 %, 10 pt (KDE)", 1366, 768, 1, 10},
        {"1366x768 at 100 %, 11 pt (GNOME)", 1366, 768, 1, 11},
        {"1366x768 at 100 %, 12 pt (qt6ct)", 1366, 768, 1, 12},
        {"1366x768 at 100 %, 16 pt (large)", 1366, 768, 1, 16},
        {"1366x768 at 150 %, 11 pt", 1366, 768, 1.5, 11},
        {"1366x768 at 150 %, 16 pt", 1366, 768, 1.5, 16},
        {"1366x768 at 200 %, 9 pt", 1366, 768, 2, 9},
        {"1366x768 at 200 %, 11 pt", 1366, 768, 2, 11},
        {"1280x720 at 200 %, 11 pt", 1280, 720, 2, 11},
        {"1920x1080 at 100 %, 16 pt", 1920, 1080, 1, 16},
        {"1920x1080 at 150 %, 11 pt", 1920, 1080, 1.5, 11},
        {"1920x1080 at 150 %, 12 pt", 1920, 1080, 1.5, 12},
        {"1920x1080 at 200 %, 9 pt", 1920, 1080, 2, 9},
        {"1920x1080 at 200 %, 11 pt", 1920, 1080, 2, 11},
        {"1920x1080 at 200 %, 16 pt", 1920, 1080, 2, 16},
        // The free area a panel leaves.
        {"1366x768 at 100 %, 11 pt, GNOME's top bar", 1366, 768, 1, 11, 32},
        {"1366x768 at 200 %, 11 pt, GNOME's top bar", 1366, 768, 2, 11, 64},
        {"1366x768 at 150 %, 10 pt, KDE's panel", 1366, 768, 1.5, 10, 0, 66},
        {"1920x1080 at 200 %, 9 pt, KDE's panel", 1920, 1080, 2, 9, 0, 88},
        {"1366x768 at 125 %, 9 pt, the Windows taskbar", 1366, 768, 1.25, 9, 0, 60},
    };
    for (const Desktop &desktop : desktops) {
        for (const int language : {0, 1}) {
            SCOPED_TRACE(std::string(desktop.name) + (language ? ", English" : ", Italian"));
            UseDesktop use(desktop);
            OpenMainWindow();
            EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), desktop.scale);
            PickLanguage(language);
            Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}, {250, 4, 58, 0.85, 3, kFerromagnetic}});
            QTest::mouseClick(Button("Command5"), Qt::LeftButton);
            ExpectAtHome(window.get(), "main window");
            Form2 *dialog = OpenAddDialog();
            Fill(dialog, "888", "8", "888", "0.888", 1, 1);
            ExpectAtHome(dialog, "lamp dialog");
            dialog->close();
            QTest::mouseClick(Button("Command1"), Qt::LeftButton);
            ExpectAtHome(PriceListShown(), "price list");
            window.reset();
        }
    }

    // A window whose screen goes (a monitor unplugged, a scale changed) is
    // laid out again for the screen it lands on.
    SCOPED_TRACE("from a large screen at 100 % to a small one at 200 %");
    UseDesktop large({"1920x1080 at 100 %", 1920, 1080, 1, 11});
    OpenMainWindow();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    const int before = window->height();
    const std::map<QString, int> proportions = FontProportions();
    UseDesktop small({"1366x768 at 200 %", 1366, 768, 2, 11});
    ExpectLogoDrawnFor(2);
    EXPECT_LT(window->height(), before);
    // The fonts keep their proportions, laid out smaller; a text fitted to
    // its room may be a little smaller still.
    for (const auto &[name, after] : FontProportions()) {
        EXPECT_LE(after, proportions.at(name)) << name.toStdString();
        EXPECT_GE(after, proportions.at(name) * 9 / 10) << name.toStdString();
    }
    ExpectAtHome(window.get(), "main window");
    ExpectAtHome(PriceListShown(), "price list");

    // A panel comes while the windows stay on their screen.
    SCOPED_TRACE("a panel comes");
    const int unpanelled = window->height();
    UsePanels(0, 96);
    EXPECT_LT(window->height(), unpanelled);
    ExpectAtHome(window.get(), "main window");
    ExpectAtHome(PriceListShown(), "price list");
    window.reset();
}

// A column widened for its caption takes the list's spare room, then the
// other columns' spare room, the last columns' first; the room is the list's
// inside, whatever its frame.
TEST(ListColumns, a_widened_column_takes_its_room_from_the_last_columns_first)
{
    const struct {
        const char *name;
        int frame;
        std::vector<int> drawn;  // pixels; column 2 is widened, column 1 is at its caption's need
        std::vector<bool> kept;
    } cases[] = {
        {"room in the last column", 1, {10, 10, 150, 300}, {false, false, true, false}},
        {"room only in the last two columns", 1, {10, 10, 150, 200}, {false, false, false, false}},
        {"a thick frame", 6, {10, 10, 150, 300}, {false, false, true, false}},
    };
    const QString captions[] = {QStringLiteral("Quantità"), QStringLiteral("Potenza complessiva richiesta"),
                                QStringLiteral("UPS"), QStringLiteral("Prezzo")};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ListModel model(4);
        ListView list;
        list.setModel(&model);
        list.setFrameStyle(QFrame::Box | QFrame::Plain);
        list.setLineWidth(c.frame);
        int inside = 0;
        for (int column = 1; column <= 4; ++column) {
            model.SetColumnCaption(column, captions[column - 1]);
            inside += c.drawn[column - 1];
        }
        list.resize(inside + 2 * c.frame, 100);
        for (int column = 1; column <= 4; ++column)
            list.SetColumnWidthTwips(column, c.drawn[column - 1] * 15);
        const QHeaderView *header = list.header();
        EXPECT_LE(header->length(), list.contentsRect().width());
        for (int column = 0; column < 4; ++column) {
            EXPECT_GT(header->sectionSize(column), header->fontMetrics().horizontalAdvance(captions[column]))
                << column;
            if (c.kept[column]) {
                EXPECT_EQ(header->sectionSize(column), c.drawn[column]) << column;
            }
        }
    }
}

// The quick exit covers every Qt release whose Wayland teardown can hang,
// each patch release of 6.4 among them, and no other desktop.
TEST(Teardown, may_hang_on_wayland_before_qt_6_5)
{
    const struct {
        const char *platform, *qt;
        bool hangs;
    } cases[] = {
        {"wayland", "6.4.0", true},     {"wayland", "6.4.2", true},  {"wayland", "6.4.3", true},
        {"wayland-egl", "6.4.2", true}, {"wayland", "6.5.0", false}, {"wayland", "6.6.1", false},
        {"xcb", "6.4.2", false},        {"windows", "6.4.2", false}, {"offscreen", "6.4.2", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TeardownMayHang(QString::fromLatin1(c.platform), c.qt), c.hangs) << c.platform << " " << c.qt;
}

// The quick exit still writes out what the program had to say.
TEST(Teardown, the_quick_exit_leaves_nothing_unsaid)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static char buffer[256];
            std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
            std::fputs("the last words", stderr);
            LeaveAtOnce(3);
        },
        testing::ExitedWithCode(3), "the last words");
}

}  // namespace
}  // namespace korval::test
