#include "ui/printing.h"

#include <QThread>
#include <QTimer>

namespace korval {

int PrintControl::RemainingMs() const
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
    return left.count() < 1 ? 1 : static_cast<int>(left.count());
}

PrintJob::PrintJob(ReportContent content, std::chrono::milliseconds bound, QObject *parent)
    : QObject(parent), m_control(std::make_shared<PrintControl>(bound)), m_result(std::make_shared<PrintResult>()),
      m_bound(new QTimer(this))
{
    // The thread keeps its own references: it may outlive this object.
    m_thread = QThread::create([control = m_control, result = m_result, content = std::move(content)] {
        *result = PrintOnDefaultPrinter(content, *control);
    });
    connect(m_thread, &QThread::finished, this, [this] { Report(*m_result); });
    m_bound->setSingleShot(true);
    connect(m_bound, &QTimer::timeout, this, [this] {
        m_control->Cancel();
        Report({PrintOutcome::NoAnswer, {}});
    });
    m_bound->start(bound);
    m_thread->start();
}

PrintJob::~PrintJob()
{
    m_control->Cancel();
    // Where the print service is waited on, a cancelled job ends within a
    // fraction of a second. One stuck elsewhere (a host name that takes long
    // to resolve) is left to finish on its own rather than hold up the program.
    if (m_thread->wait(2000)) {
        delete m_thread;
        return;
    }
    m_thread->disconnect(this);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
}

void PrintJob::Report(const PrintResult &result)
{
    if (m_reported)
        return;
    m_reported = true;
    m_bound->stop();
    emit Finished(result);
}

}  // namespace korval
