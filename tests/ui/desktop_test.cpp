#include "tests/cos_phi.h"
#include "tests/support/desktop.h"
#include "tests/support/fixture.h"
#include "ui/wrappingbutton.h"

#include <QDir>
#include <QHeaderView>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QWindow>

#include <iostream>

namespace korval::test {
namespace {

// Whether a control's text fits the room its style gives it.
struct Room {
    QString what;
    int needed;
    int available;
};

// The room every text of a window needs and has, control by control, as
// the style lays out and paints each kind.
std::vector<Room> RoomsOf(const QWidget *window)
{
    std::vector<Room> rooms;
    const auto add = [&rooms](const QWidget *control, const char *part, int needed, int available) {
        rooms.push_back({control->objectName() + QLatin1Char(' ') + QLatin1String(part), needed, available});
    };
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        if (control->window() != window || control->objectName().isEmpty() || !control->isVisible())
            continue;
        const QFontMetrics metrics = control->fontMetrics();
        const QStyle *style = control->style();
        if (const auto *list = qobject_cast<const ListView *>(control)) {
            // Columns drawn to fill the list bring up no scroll bar.
            add(list, "columns width", list->header()->length(), list->contentsRect().width());
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.textAlignment = frame->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect label =
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            add(frame, "caption", label.left() + metrics.horizontalAdvance(frame->title()), frame->width());
            // The caption stands above whatever the frame holds.
            for (const QWidget *inside : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                add(frame, "caption height", label.top() + metrics.height(), inside->y());
        } else if (const auto *button = qobject_cast<const QPushButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            // The main window's buttons wrap their caption onto more lines.
            const bool wraps = qobject_cast<const WrappingButton *>(button) != nullptr;
            const QRect text =
                metrics.boundingRect(room, Qt::AlignCenter | (wraps ? Qt::TextWordWrap : 0), button->text());
            add(button, "text width", text.width(), room.width());
            add(button, "text height", text.height(), room.height());
        } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.frame = combo->hasFrame();
            option.currentText = combo->currentText();
            const QRect field =
                style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                add(combo, "option width", metrics.horizontalAdvance(combo->itemText(i)), field.width());
            add(combo, "option height", metrics.height(), field.height());
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.rect = edit->contentsRect();
            option.lineWidth =
                edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
            option.state |= QStyle::State_Sunken;
            // QLineEdit keeps two pixels either side of its text.
            const QRect line = style->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                                   .marginsRemoved(edit->textMargins())
                                   .adjusted(2, 0, -2, 0);
            add(edit, "line width", metrics.horizontalAdvance(edit->text()), line.width());
            add(edit, "line height", metrics.height(), line.height());
        } else if (const auto *label = qobject_cast<const QLabel *>(control)) {
            const QRect room = label->contentsRect();
            if (!label->pixmap().isNull()) {
                const QSizeF picture = label->pixmap().deviceIndependentSize();
                add(label, "picture width", qCeil(picture.width()), room.width());
                add(label, "picture height", qCeil(picture.height()), room.height());
            } else {
                add(label, "text width", metrics.horizontalAdvance(label->text()), room.width());
                add(label, "text height", metrics.height(), room.height());
            }
        }
    }
    return rooms;
}

// Controls of one parent that overlap. Frames drawn edge on edge share a
// line of their border, which does not count.
std::vector<QString> OverlapsIn(const QWidget *window)
{
    std::vector<QString> found;
    std::vector<const QWidget *> parents{window};
    for (const QWidget *w : window->findChildren<QWidget *>())
        if (w->window() == window && !qobject_cast<const QAbstractScrollArea *>(w->parentWidget()))
            parents.push_back(w);
    for (const QWidget *parent : parents) {
        std::vector<const QWidget *> named;
        for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->objectName().isEmpty() && child->isVisible() && !child->isWindow())
                named.push_back(child);
        for (std::size_t i = 0; i < named.size(); ++i)
            for (std::size_t j = i + 1; j < named.size(); ++j) {
                const QRect shared = named[i]->geometry() & named[j]->geometry();
                if (shared.width() > 2 && shared.height() > 2)
                    found.push_back(named[i]->objectName() + QStringLiteral(" and ") + named[j]->objectName());
            }
    }
    return found;
}

class Desktops : public MainWindowTest {
protected:
    void SetUp() override { }

    // Every text whole, no control over another, the window inside its
    // screen's free area, its artwork drawn for its pixel ratio.
    void ExpectAtHome(const QWidget *shown, const char *name, std::ostream &figures, const std::string &shot)
    {
        ASSERT_TRUE(shown) << name;
        SCOPED_TRACE(name);
        const Room *tightest = nullptr;
        const std::vector<Room> rooms = RoomsOf(shown);
        for (const Room &room : rooms) {
            EXPECT_LE(room.needed, room.available) << room.what.toStdString();
            // The figures name the tightest text, not a picture or a list.
            const bool text = !room.what.contains(QLatin1String("picture"))
                && !room.what.contains(QLatin1String("columns"))
                && (room.what.endsWith(QLatin1String("width")) || room.what.endsWith(QLatin1String("caption")));
            if (text && (!tightest || room.available - room.needed < tightest->available - tightest->needed))
                tightest = &room;
        }
        for (const QString &pair : OverlapsIn(shown))
            ADD_FAILURE() << "overlap: " << pair.toStdString();
        const QRect area = shown->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(shown->frameGeometry()))
            << "frame " << shown->frameGeometry().width() << "x" << shown->frameGeometry().height() << "+"
            << shown->frameGeometry().x() << "+" << shown->frameGeometry().y() << " on " << area.width() << "x"
            << area.height();
        const QString folder = qEnvironmentVariable("KORVAL_SCREENSHOT_DIR");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            const_cast<QWidget *>(shown)->grab().save(
                folder + QLatin1Char('/') + QString::fromStdString(shot) + QLatin1Char('-')
                + QString::fromLatin1(name).replace(QLatin1Char(' '), QLatin1Char('-')) + QStringLiteral(".png"));
        const qreal ratio = shown->devicePixelRatioF();
        const QSize device = (QSizeF(shown->frameGeometry().size()) * ratio).toSize();
        figures << "  " << name << " " << device.width() << "x" << device.height();
        if (tightest)
            figures << ", tightest " << tightest->what.toStdString() << " " << tightest->needed << "/"
                    << tightest->available;
        figures << "\n";
    }
};

TEST_F(Desktops, every_window_whole_at_every_font_and_scale)
{
    const Desktop desktops[] = {
        {"1366x768 at 100 %, 9 pt (Qt)", 1366, 768, 1, 9},
        {"1366x768 at 100 %, 10 pt (KDE)", 1366, 768, 1, 10},
        {"1366x768 at 100 %, 11 pt (GNOME)", 1366, 768, 1, 11},
        {"1366x768 at 100 %, 12 pt (qt6ct)", 1366, 768, 1, 12},
        {"1366x768 at 100 %, 16 pt (large text)", 1366, 768, 1, 16},
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
    };
    std::ostringstream figures;
    for (const Desktop &desktop : desktops) {
        for (const int language : {0, 1}) {
            SCOPED_TRACE(std::string(desktop.name) + (language ? ", English" : ", Italian"));
            figures << desktop.name << (language ? ", English" : ", Italian") << "\n";
            UseDesktop use(desktop);
            const std::string shot = std::to_string(desktop.width) + "-"
                + std::to_string(qRound(desktop.scale * 100)) + "-" + std::to_string(qRound(desktop.points))
                + (language ? "-en" : "-it");
            state = State{};
            window = std::make_unique<Form1>(state, messages);
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
            const qreal ratio = window->devicePixelRatioF();
            EXPECT_DOUBLE_EQ(ratio, desktop.scale);
            const QLabel *logo = Label("Picture1");
            ASSERT_TRUE(QTest::qWaitFor([&] { return logo->pixmap().devicePixelRatio() == ratio; }))
                << "the logo is drawn for ratio " << logo->pixmap().devicePixelRatio();
            PickLanguage(language);
            Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}, {250, 4, 58, 0.85, 3, kFerromagnetic}});
            QTest::mouseClick(Button("Command5"), Qt::LeftButton);
            ExpectAtHome(window.get(), "main window", figures, shot);

            Form2 *dialog = OpenAddDialog();
            ASSERT_TRUE(dialog);
            Fill(dialog, "888", "8", "888", "0.888", 1, 1);
            ExpectAtHome(dialog, "lamp dialog", figures, shot);
            dialog->close();

            QTest::mouseClick(Button("Command1"), Qt::LeftButton);
            ExpectAtHome(window->PriceList(), "price list", figures, shot);
            window.reset();
        }
    }
    if (qEnvironmentVariableIsSet("KORVAL_DESKTOP_FIGURES"))
        std::cout << figures.str();

    // A window whose screen goes (a monitor unplugged, a scale changed) is
    // laid out again for the screen it lands on.
    SCOPED_TRACE("from a large screen at 100 % to a small one at 200 %");
    UseDesktop large({"1920x1080 at 100 %", 1920, 1080, 1, 11});
    state = State{};
    window = std::make_unique<Form1>(state, messages);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(window->PriceList());
    const QSize before = window->size();
    UseDesktop small({"1366x768 at 200 %", 1366, 768, 2, 11});
    ASSERT_TRUE(QTest::qWaitFor([this] { return Label("Picture1")->pixmap().devicePixelRatio() == 2; }));
    EXPECT_LT(window->height(), before.height());
    std::ostringstream ignored;
    ExpectAtHome(window.get(), "main window", ignored, "moved");
    ExpectAtHome(window->PriceList(), "price list", ignored, "moved");
    window.reset();
}

}  // namespace
}  // namespace korval::test
