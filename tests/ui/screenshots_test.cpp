#include "fixture.h"

#include <QDir>
#include <QSet>

namespace korval::test {
namespace {

// Checks that a window shows what a user would see (its whole size, and more
// than a blank background: frames, texts, the logo's colours), and saves it
// when KORVAL_SCREENSHOT_DIR names a folder.
void Save(QWidget *widget, const char *name)
{
    ASSERT_TRUE(widget) << name;
    const QPixmap picture = widget->grab();
    EXPECT_EQ(picture.size(), widget->size()) << name;
    const QImage image = picture.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 16) << name << " looks blank";
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
    Save(window->LampDialog(), "dialog-edit-italian");
    window->LampDialog()->close();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Save(window->PriceList(), "pricelist-italian");
    window->PriceList()->close();
    ReturnToMain();

    PickLanguage(1);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    Save(window.get(), "main-english");
    Save(OpenAddDialog(), "dialog-add-english");
    window->LampDialog()->close();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Save(window->PriceList(), "pricelist-english");
}

}  // namespace
}  // namespace korval::test
