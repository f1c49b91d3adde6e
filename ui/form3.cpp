#include "ui/form3.h"

#include "engine/rows.h"
#include "ui/localized.h"
#include "ui/windowlayout.h"

namespace korval {
namespace {

// Every text of the window, Italian first.
namespace texts {
constexpr Bilingual Caption{"Elenco UPS", "UPS List"};
constexpr Bilingual Columns[5] = {
    {"Codice", "Code"},  {"Durata", "Duration"},         {"Potenza", "Power"},
    {"Prezzo", "Price"}, {"Descrizione", "Description"},
};
}  // namespace texts

constexpr int kColumnWidths[5] = {1080, 800, 1000, 1000, 5900};
constexpr int kPriceColumn = 4;

}  // namespace

Form3::Form3(const State &state, QWidget *parent) : PeerDialog(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("Form3"));
    auto *layout = new WindowLayout(this, 9135, 3885);

    m_priceRows = new ListModel(5, this);
    ListView1 = new ListView(this);
    ListView1->setModel(m_priceRows);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    layout->Place(ListView1, {120, 120, 8895, 3615});
    layout->SetFont(ListView1, 9.75, false);
    for (int c = 1; c <= 5; ++c)
        ListView1->SetColumnWidthTwips(c, kColumnWidths[c - 1]);
    LoadPriceList();
}

void Form3::LoadPriceList()
{
    ListView1->setEnabled(true);
    ListModel *list = m_priceRows;
    const Language language = m_state.Language;
    if (IsKnown(language)) {
        setWindowTitle(Localized(texts::Caption, language));
        ListView1->setAccessibleName(Localized(texts::Caption, language));
        for (int c = 1; c <= 5; ++c)
            list->SetColumnCaption(c, Localized(texts::Columns[c - 1], language));
    }
    ListView1->SetColumnWidthTwips(kPriceColumn, 0);
    list->SetRows(PriceListRows(m_state));
}

}  // namespace korval
