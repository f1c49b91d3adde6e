#pragma once

// What a way of printing (CUPS itself, or Qt's printer support) offers the
// job that runs it: the report onto the default printer, within a bound.

#include <QString>

#include <atomic>
#include <chrono>

#include "ui/print/report.h"

namespace korval {

// What became of a job. Only the program's own words are chosen from this;
// the print service's, when it gave any, are in the detail.
enum class PrintOutcome {
    Printed,
    Cancelled,    // the window went away first, or the user said no: nothing to tell
    NoPrinter,    // the print service answered: no default printer
    Unreachable,  // no print service where the system says it is
    NoAnswer,     // a print service that took the connection but never answered
    Refused,      // the print service answered the job with a refusal
    Failed,       // any other failure
};

struct PrintResult {
    PrintOutcome Outcome = PrintOutcome::Printed;
    QString Detail;  // the print service's own words, when it gave any
};

// What a job on its way watches: the time it has and whether it is still wanted.
class PrintControl {
public:
    explicit PrintControl(std::chrono::milliseconds bound) : m_deadline(std::chrono::steady_clock::now() + bound)
    {
    }

    void Cancel() { m_cancelled = true; }
    bool Cancelled() const { return m_cancelled; }
    bool TimedOut() const { return std::chrono::steady_clock::now() >= m_deadline; }
    bool GoOn() const { return !Cancelled() && !TimedOut(); }
    // The time left, in milliseconds, at least 1.
    int RemainingMs() const;

private:
    std::chrono::steady_clock::time_point m_deadline;
    std::atomic<bool> m_cancelled{false};
};

// Readies, on the GUI thread, what the print service's client keeps for the
// whole program, before a job's thread first uses it. Quick: it asks the
// print service nothing.
void PreparePrinting();

// Prints on the desktop's default printer, laid out on that printer's paper
// and printable area, without a dialog; into `outputFile` instead of the
// printer's own destination when one is given (the answer to a printer that
// asks where to save). Blocks; run it off the GUI thread. Where it waits on
// the print service it stops once `control` says so.
PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control,
                                  const QString &outputFile);

}  // namespace korval
