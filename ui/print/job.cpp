#include "ui/print/job.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace korval {

int PrintControl::RemainingMs() const
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
    return left.count() < 1 ? 1 : static_cast<int>(left.count());
}

PrintJob::PrintJob(ReportContent content, std::chrono::milliseconds bound, QObject *parent, QString outputFile)
    : QObject(parent), m_control(std::make_shared<PrintControl>(bound)), m_result(std::make_shared<PrintResult>()),
      m_bound(new QTimer(this))
{
    PreparePrinting();
    // The thread keeps its own references: it may outlive this object.
    m_thread = QThread::create(
        [control = m_control, result = m_result, content = std::move(content),
         outputFile = std::move(outputFile)] { *result = PrintOnDefaultPrinter(content, *control, outputFile); });
    connect(m_thread, &QThread::finished, this, [this] { Report(*m_result); });
    m_bound->setSingleShot(true);
    connect(m_bound, &QTimer::timeout, this, [this] {
        m_control->Cancel();
        Report({PrintOutcome::NoAnswer, {}});
    });
    // A thread that watches its deadline gives its own verdict, well before
    // this backstop for one that cannot (Qt's hand-over): the two never
    // race for the word.
    m_bound->start(bound + kPrintBackstop);
    m_thread->start();
}

namespace {

// The name of a print thread whose job nobody waits for any longer.
const QString kAbandoned = QStringLiteral("korval-abandoned-print");

}  // namespace

PrintJob::~PrintJob()
{
    m_control->Cancel();
    if (m_thread->isFinished()) {
        delete m_thread;
        return;
    }
    // The windows never wait for a print thread. Where the print service is
    // waited on, a cancelled job ends within a fraction of a second; Qt's
    // hand-over cannot be cancelled and ends when it returns. Until then the
    // application keeps the thread.
    m_thread->disconnect(this);
    m_thread->setObjectName(kAbandoned);
    m_thread->setParent(QCoreApplication::instance());
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
}

bool WaitForAbandonedJobs(std::chrono::milliseconds bound)
{
    const QDeadlineTimer deadline(bound);
    const QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return true;
    for (QThread *thread : application->findChildren<QThread *>(kAbandoned, Qt::FindDirectChildrenOnly))
        if (!thread->wait(deadline))
            return false;
    return true;
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
