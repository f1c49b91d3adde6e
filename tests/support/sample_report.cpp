#include "tests/support/sample_report.h"

#include <QFile>

#include "engine/catalogue.h"
#include "engine/rows.h"
#include "ui/listmodel.h"

namespace korval::test {

ReportContent ReportOf(int lamps)
{
    State state;
    CreateCatalogues(state);
    for (int i = 1; i <= lamps; ++i)
        AppendRow(state, {i, 1, 1, 1.0, 1, kElectronic});
    ListModel lampList(6), results(6);
    for (const LampRecord &row : ReadRows(state))
        lampList.AddRow(LampListRow(row, state.Language, '.'));
    CalculateRows(state, ComputeRequiredPower(state, {}), {}, [&](const ListRow &row) { results.AddRow(row); });
    const char *lampCaptions[] = {"N°", "Lamp.", "Watt", "Cos.fi", "Alimentatore", "Autonomia"};
    const char *resultCaptions[] = {"Autonomia", "Codice", "Potenza", "Quantità", "Prezzo", "Totale"};
    for (int c = 1; c <= 6; ++c) {
        lampList.SetColumnCaption(c, QString::fromUtf8(lampCaptions[c - 1]));
        results.SetColumnCaption(c, QString::fromUtf8(resultCaptions[c - 1]));
    }
    ReportContent content;
    content.Lamps = ReportTableOf(lampList);
    content.Results = ReportTableOf(results);
    content.Power1h = QStringLiteral("10 W");
    content.Power3h = QStringLiteral("0 W");
    return content;
}

bool WriteReportPdf(const ReportContent &content, const QString &path, const PageGeometry &page)
{
    const QByteArray pdf = ReportPdf(content, page);
    QFile file(path);
    return !pdf.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
}

}  // namespace korval::test
