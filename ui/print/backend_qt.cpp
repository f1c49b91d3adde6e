// Printing through Qt's own printer support, where CUPS is not built in
// (Windows, macOS). Qt gives no way to bound its waits: the job's thread
// keeps the windows responsive, and the job's bound tells the user.

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <qpa/qplatformprintplugin.h>

#include "ui/print/backend.h"
#include "ui/print/question.h"

namespace korval {

void PreparePrinting()
{
    // Qt makes its printer support (Windows' spooler client, or CUPS's) on
    // first use without a lock, and jobs may overlap: it is made here, once.
    QPlatformPrinterSupportPlugin::get();
    WatchSpooler();
}

PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control,
                                  const QString &outputFile)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!control.GoOn())
        return {control.TimedOut() ? PrintOutcome::NoAnswer : PrintOutcome::Cancelled, {}};
    if (info.isNull())
        return {PrintOutcome::NoPrinter, {}};

    // Nothing tells of a file the spooler could not write (a folder typed
    // that does not exist): it is made here first, or the job fails now.
    if (!outputFile.isEmpty()) {
        QFile file(outputFile);
        if (!file.open(QIODevice::WriteOnly))
            return {PrintOutcome::Failed,
                    QDir::toNativeSeparators(outputFile) + QStringLiteral(": ") + file.errorString()};
    }
    QPrinter printer(info, QPrinter::HighResolution);
    // First: a PDF file is Qt's own PDF writer's, which takes the paper
    // given after it; any other file is the printer's own language.
    printer.setOutputFileName(outputFile);
    // A printer made from its info starts on A4 with margins of Qt's own,
    // whatever the printer's. Its own paper brings its own printable area
    // (and the job names that paper); a printer without a driver to say so
    // gets an A4 sheet less the usual margins.
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid()) {
        printer.setPageSize(paper);
        printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
    } else {
        const PageGeometry usual;
        printer.setPageSize(usual.Paper);
        printer.setPageMargins(usual.Margins, QPageLayout::Millimeter);
    }
    printer.setDocName(QStringLiteral("KORVAL"));
    QPainter painter;
    if (!painter.begin(&printer))
        return {SpoolerStartCancelled() ? PrintOutcome::Cancelled : PrintOutcome::Failed, {}};
    PaintReport(painter, printer.pageRect(QPrinter::DevicePixel).size(), content,
                [&printer] { printer.newPage(); });
    // Qt reports a failed hand-over only through the printer's state.
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {PrintOutcome::Failed, {}};
    if (printer.printerState() == QPrinter::Aborted)
        return {PrintOutcome::Cancelled, {}};
    return {PrintOutcome::Printed, {}};
}

}  // namespace korval
