#pragma once

// A private CUPS scheduler and an environment guard, for the print tests and
// the print benchmark.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace korval::test {

// How long a start or a wait may take on a machine busy with other work.
constexpr int kBusyMachineMs = 60000;

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
// A file's path as such a tool reads it.
QString HostPath(const QString &path);

// Sets an environment variable for the life of the guard.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char *name, const QByteArray &value);
    ~EnvironmentGuard();
    EnvironmentGuard(const EnvironmentGuard &) = delete;
    EnvironmentGuard &operator=(const EnvironmentGuard &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// A CUPS scheduler of the test's own: its configuration, spool and socket
// live in a temporary folder, and its one queue hands each job to a small
// backend that writes the document into that folder. The user's own printers
// are never touched: the program under test is pointed at this socket.
class PrivateScheduler {
public:
    PrivateScheduler();
    ~PrivateScheduler();
    PrivateScheduler(const PrivateScheduler &) = delete;
    PrivateScheduler &operator=(const PrivateScheduler &) = delete;

    bool Running() const { return m_running; }

    // A queue that keeps each job's document, made the default, on the
    // given paper. Without a paper (and the scheduler names none of its own)
    // the queue describes none.
    bool AddDefaultPdfQueue(const char *media = "iso_a4_210x297mm");

    // A queue as a user adds it, with `lpadmin -p NAME -E -v URI` and the
    // further lpadmin arguments given (a driver, its options), made the
    // default. Without a URI it keeps what leaves the filter chain.
    bool AddDefaultQueue(const QString &name, const QStringList &arguments, const QString &uri = {});

    // A user's own options for a queue (as `lpoptions -p` writes them, into
    // the user's lpoptions file); empty takes them away.
    void SetUserOptions(const QString &queue, const QString &options);

    void ClearJobs();
    bool RejectJobs();

    // The first document the backend wrote, once it is complete.
    QString WaitForJob(int timeoutMs = kBusyMachineMs) const;

    QString Path(const char *relative) const;
    QString Log() const;

    static bool Run(const char *program, const QStringList &arguments);

private:
    QString Socket() const { return Path("cups.sock"); }
    void Write(const char *relative, const QString &text) const;
    static bool Answers();
    static bool MakeDefault(const QString &queue);

    QString m_root;
    std::optional<EnvironmentGuard> m_server;
    std::optional<EnvironmentGuard> m_home;
    QProcess m_cupsd;
    bool m_running = false;
};

}  // namespace korval::test
