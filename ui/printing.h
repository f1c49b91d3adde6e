#pragma once

// Handing the report to the default printer without holding up the windows.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

#include "engine/state.h"
#include "ui/report.h"

class QThread;
class QTimer;

namespace korval {

// What became of a job. Only the program's own words are chosen from this;
// the print service's, when it gave any, are in the detail.
enum class PrintOutcome {
    Printed,
    Cancelled,    // the window went away first; nothing to tell
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

// How long a job may take to reach the print service before the user is told
// it does not answer: longer than a busy network print server needs, much
// shorter than the two minutes a silent one would otherwise hold a job.
constexpr std::chrono::milliseconds kPrintBound{15000};
// How long after its deadline a job that has not come back is given up.
constexpr std::chrono::milliseconds kPrintBackstop{1000};

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
// and printable area, without a dialog. Blocks; run it off the GUI thread.
// Where it waits on the print service it stops once `control` says so.
PrintResult PrintOnDefaultPrinter(const ReportContent &content, const PrintControl &control);

// One report on its way to the printer, on a thread of its own. Finished is
// emitted once, on the GUI thread: with the print service's verdict, or with
// "no answer" when the thread has not come back a backstop after the bound.
// Destroying the job cancels it and returns at once; a thread still on its
// way finishes on its own.
class PrintJob : public QObject {
    Q_OBJECT
public:
    PrintJob(ReportContent content, std::chrono::milliseconds bound, QObject *parent = nullptr);
    ~PrintJob() override;

signals:
    void Finished(const korval::PrintResult &result);

private:
    void Report(const PrintResult &result);

    std::shared_ptr<PrintControl> m_control;
    std::shared_ptr<PrintResult> m_result;
    QThread *m_thread;
    QTimer *m_bound;
    bool m_reported = false;
};

class MessageBoxes;

// "Stampa" of a window: one job at a time, the window's cursor busy meanwhile,
// what became of it told in the program's language of the moment.
class ReportPrinter : public QObject {
    Q_OBJECT
public:
    ReportPrinter(QWidget *window, MessageBoxes &messages, const State &state, std::chrono::milliseconds bound);

    bool Busy() const { return m_job != nullptr; }
    void Print(ReportContent content);

signals:
    void Ended();  // and the user was told

private:
    QWidget *Window() const { return static_cast<QWidget *>(parent()); }

    MessageBoxes &m_messages;
    const State &m_state;
    std::chrono::milliseconds m_bound;
    QPointer<PrintJob> m_job;
};

// What the user is told when a print job ends, in the language given (a
// warning): nothing when it printed or was cancelled.
std::optional<QString> PrintMessage(const PrintResult &result, Language language);

// For the program's end, once its windows are gone: waits at most `bound`
// for the threads of jobs destroyed on their way. False when one still runs;
// the application must not be destroyed under it.
bool WaitForAbandonedJobs(std::chrono::milliseconds bound);

}  // namespace korval
