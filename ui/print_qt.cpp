// Printing through Qt's own printer support, where CUPS is not built in
// (Windows, macOS). Qt gives no way to bound its waits: the job's thread
// keeps the windows responsive, and the job's bound tells the user.

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "ui/printing.h"

namespace korval {

PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!control.GoOn())
        return {control.TimedOut() ? PrintOutcome::Failed : PrintOutcome::Cancelled, PrintFailure::NoAnswer, {}};
    if (info.isNull())
        return {PrintOutcome::NoPrinter, PrintFailure::Other, {}};

    // A printer made from its info starts on its own default paper.
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("KORVAL"));
    QPainter painter;
    if (!painter.begin(&printer))
        return {PrintOutcome::Failed, PrintFailure::Other, {}};
    PaintReport(painter, printer.pageRect(QPrinter::DevicePixel).size(), content,
                [&printer] { printer.newPage(); });
    // Qt reports a failed hand-over only through the printer's state.
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {PrintOutcome::Failed, PrintFailure::Other, {}};
    if (printer.printerState() == QPrinter::Aborted)
        return {PrintOutcome::Cancelled, PrintFailure::Other, {}};
    return {PrintOutcome::Printed, PrintFailure::Other, {}};
}

}  // namespace korval
