#pragma once

// "Stampa" of a window: one job at a time, the window's cursor busy
// meanwhile, and the question of a printer that asks where to save asked by
// the window before the job sets out.

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <chrono>

#include "ui/print/backend.h"
#include "ui/print/job.h"
#include "ui/print/question.h"

namespace korval {

class ReportPrinter : public QObject {
    Q_OBJECT
public:
    // `bound`: how long a job may take to reach the print service.
    ReportPrinter(QWidget *window, std::chrono::milliseconds bound);

    // While a printer's question is open or a job is on its way.
    bool Busy() const { return m_question || m_job; }
    void Print(ReportContent content);

signals:
    // Once for each Print that was not refused for being busy: the job's
    // verdict, or Cancelled when the user cancelled the printer's question.
    void Ended(const korval::PrintResult &result);

private:
    QWidget *Window() const { return static_cast<QWidget *>(parent()); }
    void Ask(ReportContent content, const SaveQuestion &question);
    void Start(ReportContent content, const QString &outputFile);

    std::chrono::milliseconds m_bound;
    QPointer<QFileDialog> m_question;
    QPointer<PrintJob> m_job;
};

}  // namespace korval
