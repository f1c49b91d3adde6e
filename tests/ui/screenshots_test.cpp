#include "fixture.h"

#include <QDir>

namespace korval::test {
namespace {

// Saves what each window looks like when KORVAL_SCREENSHOT_DIR names a folder.
void Save(QWidget *widget, const char *name)
{
    const QPixmap picture = widget->grab();
    EXPECT_FALSE(picture.isNull());
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

    Combo("Combo1")->setCurrentIndex(1);
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    Save(window.get(), "main-english");
    Save(OpenAddDialog(), "dialog-add-english");
    window->LampDialog()->close();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    Save(window->PriceList(), "pricelist-english");
}

}  // namespace
}  // namespace korval::test
