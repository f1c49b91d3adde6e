#include "form3.h"

#include <QApplication>

#include "artwork.h"
#include "rows.h"

namespace korval {

Form3::Form3(const State &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowIcon(KorvalIcon());
    setFixedSize(Twips(9135), Twips(3885));
    setFont(LegacyFont(QApplication::font().pointSizeF(), false));

    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(TwipRect(120, 120, 8895, 3615));
    ListView1->setFont(LegacyFont(9.75, false));
    ListView1->SetColumnCount(5);
    const std::pair<const char *, int> stored[] = {
        {"Codice", 1080}, {"Durata", 800}, {"Potenza", 1000}, {"Listino", 1000}, {"Descrizione", 5900}};
    for (int c = 1; c <= 5; ++c) {
        ListView1->SetColumnCaption(c, QString::fromUtf8(stored[c - 1].first));
        ListView1->SetColumnWidthTwips(c, stored[c - 1].second);
    }
    LoadPriceList();
}

void Form3::LoadPriceList()
{
    ListView1->setEnabled(true);
    ListView1->ClearRows();
    const bool italian = m_state.Language == kItalian;
    if (m_state.Language == kItalian || m_state.Language == kEnglish) {
        setWindowTitle(italian ? QStringLiteral("Elenco UPS") : QStringLiteral("UPS List"));
        const char *captions[2][5] = {{"Codice", "Durata", "Potenza", "Prezzo", "Descrizione"},
                                      {"Code", "Duration", "Power", "Price", "Description"}};
        for (int c = 1; c <= 5; ++c)
            ListView1->SetColumnCaption(c, QString::fromUtf8(captions[italian ? 0 : 1][c - 1]));
    }
    ListView1->SetColumnWidthTwips(4, 0);
    for (const ListRow &row : PriceListRows(m_state))
        ListView1->AddRow(row);
}

}  // namespace korval
