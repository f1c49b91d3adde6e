#pragma once

// A printer that asks where to save what it prints (Windows' PDF and XPS
// writers, any printer on the port FILE:): the program asks instead, before
// the job starts, where the answer cannot hold a job's bound or a thread.

#include <QString>

#include <optional>

namespace korval {

// What such a printer writes, and so what its file is called.
struct SaveQuestion {
    QString Suffix;  // with its dot: ".pdf"
    enum Kind { Pdf, Xps, PrinterFile } Writes = PrinterFile;
};

// From the printer's port and driver as the spooler names them; nothing for
// a printer that prints without asking.
std::optional<SaveQuestion> QuestionOf(const QString &port, const QString &driver);

// The default printer's question, read from the system's spooler (quick, on
// the GUI thread); nothing where the system's printers never ask (CUPS).
std::optional<SaveQuestion> DefaultPrinterQuestion();

// Readies the spooler's side of a job's thread, once, on the GUI thread.
void WatchSpooler();
// Whether the last start of a document on this thread failed because the
// user cancelled the spooler's own question.
bool SpoolerStartCancelled();

}  // namespace korval
