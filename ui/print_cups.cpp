// Printing through CUPS itself: Qt's own hand-over drops the spooler's answer,
// so a refused job would look printed, and it waits on a silent spooler for
// minutes. Every request here goes over one connection whose waits end as
// soon as the job is no longer wanted or its time is up.

#include <cups/cups.h>

#include <QByteArray>

#include "ui/printing.h"

namespace korval {
namespace {

// How often a wait on the print service asks whether to go on.
constexpr double kPollSeconds = 0.1;

int KeepWaiting(http_t *, void *control)
{
    return static_cast<const PrintControl *>(control)->GoOn() ? 1 : 0;
}

QString LastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

// The verdict on a request that failed: the control's, when it stopped the
// wait, otherwise the print service's own words.
PrintResult Failure(const PrintControl &control)
{
    if (control.Cancelled() && !control.TimedOut())
        return {PrintOutcome::Cancelled, PrintFailure::Other, {}};
    if (control.TimedOut())
        return {PrintOutcome::Failed, PrintFailure::NoAnswer, {}};
    return {PrintOutcome::Failed, PrintFailure::Other, LastError()};
}

struct Connection {
    explicit Connection(const PrintControl &control)
        : http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                            control.RemainingMs(), nullptr))
    {
        if (http)
            httpSetTimeout(http, kPollSeconds, KeepWaiting, const_cast<PrintControl *>(&control));
    }
    ~Connection()
    {
        if (http)
            httpClose(http);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *http;
};

bool AnswersNoDefault(http_t *http)
{
    ipp_t *response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    if (!response)
        return false;
    const bool none = ippGetStatusCode(response) == IPP_STATUS_ERROR_NOT_FOUND;
    ippDelete(response);
    return none;
}

struct Destination {
    cups_dest_t *dest = nullptr;
    cups_dinfo_t *info = nullptr;
    ~Destination()
    {
        if (info)
            cupsFreeDestInfo(info);
        if (dest)
            cupsFreeDests(1, dest);
    }
};

QPageSize PaperSize(double widthMm, double lengthMm)
{
    return QPageSize(QSizeF(widthMm, lengthMm), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

// The paper the printer uses by default and its printable area. A queue
// that knows no more than its default paper's name gets the usual 4.25 mm
// margins; one that says nothing, an A4 sheet.
PageGeometry PaperOf(http_t *http, const Destination &printer)
{
    PageGeometry page;
    // CUPS measures in hundredths of a millimetre.
    cups_size_t size{};
    if (printer.info && cupsGetDestMediaDefault(http, printer.dest, printer.info, 0, &size) && size.width > 0
        && size.length > 0) {
        page.Paper = PaperSize(size.width / 100.0, size.length / 100.0);
        page.Margins = QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
        return page;
    }
    const char *media = cupsGetOption("media", printer.dest->num_options, printer.dest->options);
    if (!media)
        return page;
    const pwg_media_t *named = pwgMediaForPWG(media);
    if (!named)
        named = pwgMediaForLegacy(media);
    if (!named)
        named = pwgMediaForPPD(media);
    if (named && named->width > 0 && named->length > 0)
        page.Paper = PaperSize(named->width / 100.0, named->length / 100.0);
    return page;
}

}  // namespace

PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control)
{
    Connection connection(control);
    if (!connection.http) {
        if (!control.GoOn())
            return Failure(control);
        return {PrintOutcome::Failed, PrintFailure::Unreachable, LastError()};
    }
    http_t *http = connection.http;

    Destination printer;
    printer.dest = cupsGetNamedDest(http, nullptr, nullptr);
    if (!printer.dest) {
        // Only the print service's answer that it has none means no default
        // printer: a failed request looks the same from here.
        if (control.GoOn() && AnswersNoDefault(http))
            return {PrintOutcome::NoPrinter, PrintFailure::Other, {}};
        return Failure(control);
    }
    printer.info = cupsCopyDestInfo(http, printer.dest);
    if (!control.GoOn())
        return Failure(control);

    const QByteArray pdf = ReportPdf(content, PaperOf(http, printer));
    if (pdf.isEmpty())
        return {PrintOutcome::Failed, PrintFailure::Other, {}};
    if (!control.GoOn())
        return Failure(control);

    const int job = cupsCreateJob(http, printer.dest->name, "KORVAL", 0, nullptr);
    if (job == 0)
        return Failure(control);
    if (cupsStartDocument(http, printer.dest->name, job, "KORVAL", CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE
        || cupsWriteRequestData(http, pdf.constData(), static_cast<size_t>(pdf.size())) != HTTP_STATUS_CONTINUE
        || cupsFinishDocument(http, printer.dest->name) != IPP_STATUS_OK) {
        const PrintResult failed = Failure(control);
        if (control.GoOn())
            cupsCancelJob2(http, printer.dest->name, job, 0);
        return failed;
    }
    return {PrintOutcome::Printed, PrintFailure::Other, {}};
}

}  // namespace korval
