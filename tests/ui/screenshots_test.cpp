#include "tests/support/fixture.h"

#include <QDir>
#include <QScopeGuard>
#include <QSet>

#include "ui/artwork.h"

namespace korval::test {
namespace {

// Checks that a window shows what a user would see (its whole size, and every
// control drawn: none of them a flat patch of one colour), and saves it when
// KORVAL_SCREENSHOT_DIR names a folder.
void Save(QWidget *widget, const char *name)
{
    ASSERT_TRUE(widget) << name;
    const QPixmap picture = widget->grab();
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), widget->size()) << name;
    const QImage image = picture.toImage();
    const qreal ratio = image.devicePixelRatio();
    for (const QWidget *control : widget->findChildren<QWidget *>()) {
        const QString controlName = control->objectName();
        // The program's own controls, not the parts Qt makes them of.
        if (controlName.isEmpty() || controlName.startsWith(QLatin1String("qt_")) || !control->isVisible()
            || control->window() != widget)
            continue;
        const QRect area = QRect(control->mapTo(widget, QPoint()) * ratio, control->size() * ratio) & image.rect();
        QSet<QRgb> colours;
        for (int y = area.top(); y <= area.bottom() && colours.size() < 2; ++y)
            for (int x = area.left(); x <= area.right() && colours.size() < 2; ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << name << ": " << control->objectName().toStdString() << " is not drawn";
    }
    const QString dir = qEnvironmentVariable("KORVAL_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        picture.save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
}

using Screenshots = MainWindowTest;

TEST_F(Screenshots, every_window_in_both_languages)
{
    Save(window.get(), "main-start");
    // The logo is drawn, not left as background.
    const QImage logo = window->grab(Label("Picture1")->geometry()).toImage();
    const QRgb background = window->grab(QRect(0, 0, 1, 1)).toImage().pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 250; ++x)
            drawn += logo.pixel(x, y) != background;
    EXPECT_GT(drawn, 250 * 70 / 4);
    AddLamp("10", "2", "36", "0.9");
    AddLamp("20", "4", "18", "0.5", 1, 1);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    Save(window.get(), "main-italian");

    OpenRow(2);
    Save(LampDialogShown(), "dialog-edit-italian");
    LampDialogShown()->close();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Save(PriceListShown(), "pricelist-italian");
    PriceListShown()->close();
    ReturnToMain();

    PickLanguage(1);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    Save(window.get(), "main-english");
    Save(OpenAddDialog(), "dialog-add-english");
    LampDialogShown()->close();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Save(PriceListShown(), "pricelist-english");
}

// The logo on the themes users have: its title stands out from the
// window's ground, which shows around it.
TEST_F(Screenshots, the_logo_reads_on_every_theme)
{
    struct Theme {
        const char *name;
        QColor window;
        QColor text;
    };
    const Theme themes[] = {
        {"light", QColor(0xef, 0xef, 0xef), Qt::black},
        {"breeze-dark", QColor(0x20, 0x23, 0x26), QColor(0xfc, 0xfc, 0xfc)},
        {"high-contrast-black", Qt::black, Qt::white},
        {"high-contrast-white", Qt::white, Qt::black},
    };
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
    for (const Theme &theme : themes) {
        SCOPED_TRACE(theme.name);
        // As a theme gives it: buttons and boxes of the window's shade.
        QPalette palette(theme.window, theme.window);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, theme.text);
        palette.setColor(QPalette::Base, theme.window);
        const qint64 drawn = Label("Picture1")->pixmap().cacheKey();
        QApplication::setPalette(palette);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Label("Picture1")->pixmap().cacheKey() != drawn; }));
        const QImage logo = Label("Picture1")->pixmap().toImage();
        const qreal ratio = logo.devicePixelRatio();
        EXPECT_EQ(logo.pixelColor(0, 0).alpha(), 0) << "the window's ground shows through";
        // The title, "KORVAL", and the tagline below it, in logo units: the
        // colour of each, read where its ink is thickest, on the ground.
        for (const auto &[part, area] :
             {std::pair("title", QRect(74, 8, 166, 34)), {"tagline", {74, 46, 166, 15}}}) {
            QColor ink(Qt::transparent);
            for (int y = qRound(area.top() * ratio); y < qRound((area.bottom() + 1) * ratio); ++y)
                for (int x = qRound(area.left() * ratio); x < qRound((area.right() + 1) * ratio); ++x)
                    if (logo.pixelColor(x, y).alpha() > ink.alpha())
                        ink = logo.pixelColor(x, y);
            EXPECT_GE(ink.alpha(), 128) << part;
            EXPECT_GE(Contrast(ink, theme.window), 4.5) << part;
        }
        Save(window.get(), (std::string("main-") + theme.name).c_str());
    }
}

}  // namespace
}  // namespace korval::test
