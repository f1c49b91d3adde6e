// Windows' spooler: which printer asks where to save, and a start the user
// cancelled at the spooler's own question.

#include <QString>
#include <QtGlobal>

#include <mutex>
#include <vector>

#include <windows.h>
#include <winspool.h>

#include "ui/print/question.h"

namespace korval {

std::optional<SaveQuestion> DefaultPrinterQuestion()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    std::vector<wchar_t> name(size + 1);
    HANDLE printer = nullptr;
    if (size == 0 || !GetDefaultPrinterW(name.data(), &size) || !OpenPrinterW(name.data(), &printer, nullptr))
        return std::nullopt;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    std::optional<SaveQuestion> question;
    if (needed > 0 && GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        const auto *info = reinterpret_cast<const PRINTER_INFO_2W *>(buffer.data());
        const auto text = [](const wchar_t *s) { return s ? QString::fromWCharArray(s) : QString(); };
        question = QuestionOf(text(info->pPortName), text(info->pDriverName));
    }
    ClosePrinter(printer);
    return question;
}

namespace {

// Qt tells of a failed StartDoc only in a message that ends in the system's
// words for the error, on the thread that started the document.
thread_local bool t_startCancelled = false;
QtMessageHandler g_next = nullptr;
QString g_cancelledWords;

void Watch(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("StartDoc failed")) && message.endsWith(g_cancelledWords))
        t_startCancelled = true;
    // Qt hands out its own default handler when none was installed.
    g_next(type, context, message);
}

}  // namespace

void WatchSpooler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_cancelledWords = QLatin1String(" (") + qt_error_string(ERROR_CANCELLED) + QLatin1Char(')');
        g_next = qInstallMessageHandler(Watch);
    });
}

bool SpoolerStartCancelled()
{
    const bool cancelled = t_startCancelled;
    t_startCancelled = false;
    return cancelled;
}

}  // namespace korval
