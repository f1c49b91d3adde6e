#include "tests/cos_phi.h"
#include "tests/support/fixture.h"

#include <QAccessible>

namespace korval::test {
namespace {

using Accessibility = MainWindowTest;

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// Every control of `window` the keyboard can reach that a screen reader could
// announce only as "edit text" or "list".
std::vector<std::string> Unnamed(QWidget *window)
{
    std::vector<std::string> unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window))
            continue;
        if (AccessibleName(w).trimmed().isEmpty())
            unnamed.push_back(w->objectName().toStdString() + " (" + w->metaObject()->className() + ")");
    }
    return unnamed;
}

TEST_F(Accessibility, every_focusable_control_has_a_name_in_either_language)
{
    Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}});
    struct Case {
        int entry;
        const char *language, *text1, *lamps, *fittings;
    };
    for (const Case &c :
         {Case{0, "Lingua", "Pot. 1h richiesta:", "Elenco delle lampade", "Numero di plafoniere  (1 ÷ 999)"},
          Case{1, "Language", "Power 1h required:", "Lamp list", "Number of ceiling lights  (1 ÷ 999)"}}) {
        PickLanguage(c.entry);
        EXPECT_EQ(Unnamed(window.get()), std::vector<std::string>{});
        EXPECT_EQ(Combo("Combo1")->accessibleDescription(), QString::fromUtf8(c.language));
        EXPECT_EQ(AccessibleName(Edit("Text1")), QString::fromUtf8(c.text1));
        EXPECT_EQ(AccessibleName(List("ListView1")), QString::fromUtf8(c.lamps));

        QTest::mouseClick(Button("Command1"), Qt::LeftButton);
        ASSERT_TRUE(PriceListShown());
        EXPECT_EQ(Unnamed(PriceListShown()), std::vector<std::string>{});
        PriceListShown()->close();
        ReturnToMain();
        Form2 *dialog = OpenAddDialog();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(Unnamed(dialog), std::vector<std::string>{});
        EXPECT_EQ(AccessibleName(Edit(dialog, "Text1")), QString::fromUtf8(c.fittings));
        dialog->close();
        ReturnToMain();
    }
}

}  // namespace
}  // namespace korval::test
