#pragma once

// One report on its way to the printer, on a thread of its own.

#include <QObject>

#include <chrono>
#include <memory>

#include "ui/print/backend.h"

class QThread;
class QTimer;

namespace korval {

// How long a job may take to reach the print service before the user is told
// it does not answer: longer than a busy network print server needs, much
// shorter than the two minutes a silent one would otherwise hold a job.
constexpr std::chrono::milliseconds kPrintBound{15000};
// How long after its deadline a job that has not come back is given up.
constexpr std::chrono::milliseconds kPrintBackstop{1000};

// Finished is emitted once, on the GUI thread: with the print service's
// verdict, or with "no answer" when the thread has not come back a backstop
// after the bound. Destroying the job cancels it and returns at once; a
// thread still on its way finishes on its own.
class PrintJob : public QObject {
    Q_OBJECT
public:
    PrintJob(ReportContent content, std::chrono::milliseconds bound, QObject *parent = nullptr,
             QString outputFile = {});
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

// For the program's end, once its windows are gone: waits at most `bound`
// for the threads of jobs destroyed on their way. False when one still runs;
// the application must not be destroyed under it.
bool WaitForAbandonedJobs(std::chrono::milliseconds bound);

}  // namespace korval
