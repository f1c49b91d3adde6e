#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "engine/language.h"

class QPainter;

namespace korval {

// A list's texts as the report prints them.
struct ReportTable {
    struct Row {
        QString Text;
        QStringList SubItems;
    };
    QStringList Captions;
    QList<Row> Rows;
};

struct ReportContent {
    korval::Language Language = korval::Language::Italian;
    QImage Logo;
    ReportTable Lamps;
    QString Power1h;
    QString Power3h;
    ReportTable Results;  // all six columns; the last two are not printed
};

// Report units: the printable area spans x -400..11024 and y -400..15954,
// one unit a twip on an A4 sheet with 4.25 mm margins.
constexpr double kReportLeft = -400;
constexpr double kReportTop = -400;
constexpr double kReportWidth = 11424;
constexpr double kReportHeight = 16354;

// Paints the report onto `painter`, whose device's printable area has the
// given size in device pixels.
// A line that would run past the bottom of the area goes on a new page,
// obtained from `newPage`; a table continued there repeats its captions.
void PaintReport(QPainter &painter, const QSizeF &printableSize, const ReportContent &content,
                 const std::function<void()> &newPage);

// The paper a report is laid out on and its printable area (the margins, in
// millimetres). By default an A4 sheet less 4.25 mm at each edge, on which a
// report unit is a twip.
struct PageGeometry {
    QPageSize Paper = QPageSize(QPageSize::A4);
    QMarginsF Margins = QMarginsF(4.25, 4.25, 4.25, 4.25);
};

// The report as a PDF document (empty if it could not be made).
QByteArray ReportPdf(const ReportContent &content, const PageGeometry &page = {});

}  // namespace korval
