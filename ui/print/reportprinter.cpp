#include "ui/print/reportprinter.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "ui/print/printtexts.h"
#include "ui/print/question.h"

namespace korval {

ReportPrinter::ReportPrinter(QWidget *window, std::chrono::milliseconds bound)
    : QObject(window), m_bound(bound) { }

void ReportPrinter::Print(ReportContent content)
{
    if (Busy())
        return;
    // Windows would ask on the job's thread, behind the window's back and
    // against the job's bound: asked here, the answer takes as long as the
    // user likes, and a cancel is the user's own.
    if (const std::optional<SaveQuestion> question = DefaultPrinterQuestion())
        Ask(std::move(content), *question);
    else
        Start(std::move(content), QString());
}

void ReportPrinter::Ask(ReportContent content, const SaveQuestion &question)
{
    const Language language = content.Language;
    const Bilingual &kind = question.Writes == SaveQuestion::Pdf ? printtexts::PdfFiles
        : question.Writes == SaveQuestion::Xps                   ? printtexts::XpsFiles
                                                                 : printtexts::PrinterFiles;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // Qt's own dialog: in the program's language like the rest, a child of
    // the window that goes with it, and readable by the tests.
    auto *dialog = new QFileDialog(Window(), printtexts::Text(printtexts::SaveTitle, language), folder,
                                   printtexts::Text(kind, language) + QStringLiteral(" (*") + question.Suffix
                                       + QLatin1Char(')'));
    dialog->setObjectName(QStringLiteral("SaveQuestion"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(question.Suffix.mid(1));
    dialog->selectFile(QLatin1String(printtexts::FileName) + question.Suffix);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog, content = std::move(content)](int answer) {
        m_question = nullptr;
        const QStringList files = dialog->selectedFiles();
        if (answer == QDialog::Accepted && !files.isEmpty())
            Start(content, QDir::toNativeSeparators(files.first()));
        else
            emit Ended({PrintOutcome::Cancelled, {}});
    });
    m_question = dialog;
    dialog->open();
}

void ReportPrinter::Start(ReportContent content, const QString &outputFile)
{
    Window()->setCursor(Qt::BusyCursor);
    m_job = new PrintJob(std::move(content), m_bound, this, outputFile);
    connect(m_job, &PrintJob::Finished, this, [this](const PrintResult &result) {
        m_job->deleteLater();
        m_job = nullptr;
        Window()->unsetCursor();
        emit Ended(result);
    });
}

}  // namespace korval
