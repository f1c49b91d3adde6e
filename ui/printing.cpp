#include "ui/printing.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "ui/localized.h"
#include "ui/maintexts.h"
#include "ui/messageboxes.h"

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
    PreparePrinting();
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

ReportPrinter::ReportPrinter(QWidget *window, MessageBoxes &messages, const State &state,
                             std::chrono::milliseconds bound)
    : QObject(window), m_messages(messages), m_state(state), m_bound(bound)
{
}

void ReportPrinter::Print(ReportContent content)
{
    if (m_job)
        return;
    Window()->setCursor(Qt::BusyCursor);
    m_job = new PrintJob(std::move(content), m_bound, this);
    connect(m_job, &PrintJob::Finished, this, [this](const PrintResult &result) {
        m_job->deleteLater();
        m_job = nullptr;
        Window()->unsetCursor();
        if (const std::optional<QString> text = PrintMessage(result, m_state.Language))
            m_messages.Show(Window(), *text, MessageIcon::Warning);
        emit Ended();
    });
}

std::optional<QString> PrintMessage(const PrintResult &result, Language language)
{
    // The program says in its own words what kind of failure it was; the
    // print service's words, in whatever language it speaks, follow apart.
    const Bilingual *reason = &maintexts::PrintJobLost;
    switch (result.Outcome) {
    case PrintOutcome::Printed:
    case PrintOutcome::Cancelled:
        return std::nullopt;
    case PrintOutcome::NoPrinter:
        return Localized(maintexts::NoPrinter, language);
    case PrintOutcome::Unreachable:
        reason = &maintexts::PrintServiceUnreachable;
        break;
    case PrintOutcome::NoAnswer:
        reason = &maintexts::PrintServiceSilent;
        break;
    case PrintOutcome::Refused:
        reason = &maintexts::PrintJobRefused;
        break;
    case PrintOutcome::Failed:
        break;
    }
    QString text = Localized(maintexts::PrintFailed, language) + QLatin1Char('\n') + Localized(*reason, language);
    if (!result.Detail.isEmpty())
        text += QLatin1Char('\n') + result.Detail;
    return text;
}

}  // namespace korval
