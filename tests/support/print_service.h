#pragma once

// The print service the print tests and the print benchmark print to, the
// queues users add, and the machine's tools that read what a printer got.

#include <QByteArray>
#include <QMarginsF>
#include <QPageSize>
#include <QScopeGuard>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

#include "tests/support/busy_machine.h"

namespace korval::test {

// A tool of the machine the tests run on (pdftotext, lpadmin, ...), run to
// its end. Under Wine the tool is the Linux program it is, which Wine starts
// without a handle to wait on or pipes to read: a shell of the machine runs
// it instead and leaves its output and exit code in files.
struct ToolRun {
    bool ok = false;  // ended in time with exit code 0
    QByteArray output;
    QByteArray errors;
};
ToolRun RunTool(const QString &name, const QStringList &arguments);
// A file's path as such a tool reads it, and the other way round.
QString HostPath(const QString &path);
QString LocalPath(const QString &hostPath);

// The environment variable `name` set to `value` until the guard given is
// gone, what was there given back then.
inline auto SetForScope(const char *name, const QByteArray &value)
{
    const std::optional<QByteArray> old =
        qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    qputenv(name, value);
    return qScopeGuard([name, old] { old ? qputenv(name, *old) : qunsetenv(name); });
}
using EnvironmentGuard = decltype(SetForScope("", {}));

// The queue the tests print to, and the paper they name, as CUPS names them.
inline const QString kTestQueue = QStringLiteral("korval");
constexpr char kA4Media[] = "iso_a4_210x297mm";
// A paper as a PDF page measures it.
inline QSizeF Points(QPageSize::PageSizeId paper)
{
    return QPageSize(paper).size(QPageSize::Point);
}

// A queue as users add them (cups/queues.tsv), with the sheet it prints on
// and its printable area's margins, in points.
struct UserQueue {
    QString name;
    QString needs;  // "any", or what the build must offer
    QSizeF paper;
    QMarginsF margins;
    QString userOptions;
};
// The table's queues that need nothing, or one of `offers`.
std::vector<UserQueue> UserQueues(const QStringList &offers);

// A CUPS scheduler of the tests' own (print_service.sh), in a folder of its
// own where its queues keep each job; the user's own printers are untouched.
class PrintService {
public:
    virtual ~PrintService() = default;
    PrintService(const PrintService &) = delete;
    PrintService &operator=(const PrintService &) = delete;

    bool Running() const { return m_running; }

    // kTestQueue, keeping each job's document, made the default, on the
    // given paper; without one (the scheduler names none) it names none.
    virtual bool AddDefaultPdfQueue(const char *media = kA4Media) = 0;
    // The table's queue `name`, made the default; at `uri` when one is given.
    virtual bool AddDefaultQueue(const QString &name, const QString &uri = {}) = 0;

    // A user's own options for a queue (as `lpoptions -p` writes them, into
    // the user's lpoptions file); empty takes them away.
    void SetUserOptions(const QString &queue, const QString &options);

    void ClearJobs();

    // The first document the backend kept, once it is whole.
    QString WaitForJob() const;

    // A driverless printer of the service's (print_service.sh), and the
    // first document it printed; empty when there is none.
    QString StartDriverless() const;
    QString WaitForDriverlessJob() const;

    QString Path(const char *relative) const;
    QString Log() const;

protected:
    explicit PrintService(QString root) : m_root(std::move(root)) { }
    // print_service.sh's command for this folder.
    ToolRun Service(const QStringList &arguments) const;
    static bool Answers();
    static bool Run(const char *program, const QStringList &arguments);

    QString m_root;
    bool m_running = false;
};

// The build's print service: on Linux a scheduler of the test's own, started
// now and stopped with it; under Wine the one the test run made before the
// first program started (Wine reads its printers then), with the table's
// queues that need nothing.
std::unique_ptr<PrintService> OpenPrintService();

}  // namespace korval::test
