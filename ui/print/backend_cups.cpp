// Printing through CUPS itself: Qt's own hand-over drops the spooler's answer,
// so a refused job would look printed, and it waits on a silent spooler for
// minutes. Every request here goes over one connection whose waits end as
// soon as the job is no longer wanted or its time is up.

#include <cups/cups.h>

#include <QByteArray>

#include <cstring>
#include <optional>

#include "ui/print/backend.h"
#include "ui/print/cups_media.h"

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
// wait; a refusal, when the print service answered with one; otherwise a
// failure, with the print service's or the system's words for it.
PrintResult Failure(const PrintControl &control, http_t *http)
{
    if (control.Cancelled() && !control.TimedOut())
        return {PrintOutcome::Cancelled, {}};
    if (control.TimedOut())
        return {PrintOutcome::NoAnswer, {}};
    // CUPS reports a broken or lost connection as an internal error or an
    // unavailable service, often with no better words than "Success": the
    // connection's own error says more.
    const ipp_status_t status = cupsLastError();
    if (status >= IPP_STATUS_ERROR_BAD_REQUEST && status != IPP_STATUS_ERROR_INTERNAL
        && status != IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return {PrintOutcome::Refused, LastError()};
    const int error = http ? httpError(http) : 0;
    return {PrintOutcome::Failed, error ? QString::fromLocal8Bit(std::strerror(error)) : LastError()};
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

// CUPS measures in hundredths of a millimetre.
Paper PaperOfSize(int width, int length, const QMarginsF &margins)
{
    Paper paper;
    paper.Page.Paper =
        QPageSize(QSizeF(width / 100.0, length / 100.0), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    paper.Page.Margins = margins;
    if (const pwg_media_t *named = pwgMediaForSize(width, length))
        paper.Media = named->pwg;
    return paper;
}

QMarginsF MarginsOf(const cups_size_t &size)
{
    return QMarginsF(size.left / 100.0, size.top / 100.0, size.right / 100.0, size.bottom / 100.0);
}

// A paper by any of the names CUPS and drivers use (PWG, legacy, PPD), with
// the printable area the queue gives it, or the usual margins where the
// queue knows nothing of it.
std::optional<Paper> PaperNamed(http_t *http, const Destination &printer, const char *name)
{
    if (!name || !*name)
        return std::nullopt;
    const pwg_media_t *named = pwgMediaForPWG(name);
    if (!named)
        named = pwgMediaForLegacy(name);
    if (!named)
        named = pwgMediaForPPD(name);
    cups_size_t size{};
    if (printer.info
        && cupsGetDestMediaByName(http, printer.dest, printer.info, named ? named->pwg : name,
                                  CUPS_MEDIA_FLAGS_DEFAULT, &size)
        && size.width > 0 && size.length > 0)
        return PaperOfSize(size.width, size.length, MarginsOf(size));
    if (named && named->width > 0 && named->length > 0)
        return PaperOfSize(named->width, named->length, PageGeometry().Margins);
    return std::nullopt;
}

}  // namespace

std::optional<Paper> PaperOfCollection(ipp_t *collection)
{
    ipp_attribute_t *sizeAttribute =
        collection ? ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t *size = sizeAttribute ? ippGetCollection(sizeAttribute, 0) : nullptr;
    ipp_attribute_t *x = size ? ippFindAttribute(size, "x-dimension", IPP_TAG_INTEGER) : nullptr;
    ipp_attribute_t *y = size ? ippFindAttribute(size, "y-dimension", IPP_TAG_INTEGER) : nullptr;
    if (!x || !y || ippGetInteger(x, 0) <= 0 || ippGetInteger(y, 0) <= 0)
        return std::nullopt;
    const auto margin = [&](const char *name) {
        ipp_attribute_t *m = ippFindAttribute(collection, name, IPP_TAG_INTEGER);
        return m && ippGetInteger(m, 0) >= 0 ? ippGetInteger(m, 0) / 100.0 : PageGeometry().Margins.left();
    };
    return PaperOfSize(ippGetInteger(x, 0), ippGetInteger(y, 0),
                       QMarginsF(margin("media-left-margin"), margin("media-top-margin"),
                                 margin("media-right-margin"), margin("media-bottom-margin")));
}

namespace {

// The paper of the default printer, as its print service describes it: the
// user's own choice for the queue, then the queue's default, then what a
// driverless printer has loaded; a queue that says nothing gets an A4 sheet.
Paper PaperOf(http_t *http, const Destination &printer)
{
    const cups_dest_t &dest = *printer.dest;
    // A PageSize in the destination's options can only be the user's own
    // (lpoptions): the print service itself describes its default as media.
    for (const char *option : {"PageSize", "media"})
        if (auto paper = PaperNamed(http, printer, cupsGetOption(option, dest.num_options, dest.options)))
            return *paper;
    if (printer.info) {
        if (ipp_attribute_t *media = cupsFindDestDefault(http, printer.dest, printer.info, "media"))
            if (auto paper = PaperNamed(http, printer, ippGetString(media, 0, nullptr)))
                return *paper;
        if (ipp_attribute_t *col = cupsFindDestDefault(http, printer.dest, printer.info, "media-col"))
            if (auto paper = PaperOfCollection(ippGetCollection(col, 0)))
                return *paper;
        if (ipp_attribute_t *col = cupsFindDestReady(http, printer.dest, printer.info, "media-col"))
            if (auto paper = PaperOfCollection(ippGetCollection(col, 0)))
                return *paper;
        if (ipp_attribute_t *media = cupsFindDestReady(http, printer.dest, printer.info, "media"))
            if (auto paper = PaperNamed(http, printer, ippGetString(media, 0, nullptr)))
                return *paper;
    }
    return PaperOfSize(21000, 29700, PageGeometry().Margins);
}

}  // namespace

// CUPS's client keeps nothing to make first: each job has its own connection.
void PreparePrinting() { }

// No CUPS queue asks where to save: there is never an output file here.
PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control, const QString &)
{
    Connection connection(control);
    if (!connection.http) {
        if (!control.GoOn())
            return Failure(control, nullptr);
        return {PrintOutcome::Unreachable, LastError()};
    }
    http_t *http = connection.http;

    Destination printer;
    printer.dest = cupsGetNamedDest(http, nullptr, nullptr);
    if (!printer.dest) {
        // Only the print service's answer that it has none means no default
        // printer: a failed request looks the same from here.
        if (control.GoOn() && AnswersNoDefault(http))
            return {PrintOutcome::NoPrinter, {}};
        return Failure(control, http);
    }
    printer.info = cupsCopyDestInfo(http, printer.dest);
    if (!printer.info || !control.GoOn())
        return Failure(control, http);

    const Paper paper = PaperOf(http, printer);
    const QByteArray pdf = ReportPdf(content, paper.Page);
    if (pdf.isEmpty())
        return {PrintOutcome::Failed, {}};
    if (!control.GoOn())
        return Failure(control, http);

    // The job names the paper it was laid out for, so that it comes out 1:1.
    cups_option_t *options = nullptr;
    int optionCount = 0;
    if (!paper.Media.isEmpty())
        optionCount = cupsAddOption("media", paper.Media.constData(), optionCount, &options);
    int job = 0;
    const ipp_status_t created =
        cupsCreateDestJob(http, printer.dest, printer.info, &job, "KORVAL", optionCount, options);
    cupsFreeOptions(optionCount, options);
    // Print services that change or ignore something asked for (driverless
    // printers often do) still take the job.
    const auto taken = [](ipp_status_t status) { return status <= IPP_STATUS_OK_CONFLICTING; };
    if (!taken(created) || job == 0)
        return Failure(control, http);
    if (cupsStartDestDocument(http, printer.dest, printer.info, job, "KORVAL", CUPS_FORMAT_PDF, 0, nullptr, 1)
            != HTTP_STATUS_CONTINUE
        || cupsWriteRequestData(http, pdf.constData(), static_cast<size_t>(pdf.size())) != HTTP_STATUS_CONTINUE
        || !taken(cupsFinishDestDocument(http, printer.dest, printer.info))) {
        const PrintResult failed = Failure(control, http);
        if (control.GoOn())
            cupsCancelDestJob(http, printer.dest, job);
        return failed;
    }
    return {PrintOutcome::Printed, {}};
}

}  // namespace korval
