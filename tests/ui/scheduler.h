#pragma once

// A private CUPS scheduler and an environment guard, for the print tests and
// the print benchmark.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <signal.h>
#include <unistd.h>

namespace korval::test {

// Sets an environment variable for the life of the guard.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
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
    PrivateScheduler()
    {
        const QString root = m_dir.path();
        // The folder outlives one scheduler: the client library keeps the
        // socket path it first read for the life of the process.
        QFile::remove(Path("conf/printers.conf"));
        QDir(Path("out")).removeRecursively();
        for (const char *sub : {"conf", "spool", "cache", "state", "log", "tmp", "out", "serverbin/backend"})
            QDir(root).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(Path("out"), QFile::Permissions(0x7777));
        QFile::setPermissions(Path("tmp"), QFile::Permissions(0x7777));
        for (const char *sub : {"filter", "daemon", "cgi-bin", "driver", "notifier", "monitor"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub),
                        Path("serverbin/") + QLatin1String(sub));

        Write("conf/cupsd.conf",
              QStringLiteral("Listen %1\nLogLevel info\nBrowsing Off\nWebInterface No\n"
                             "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                             "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                             "    Allow all\n  </Limit>\n</Policy>\n")
                  .arg(Socket()));
        Write("conf/cups-files.conf",
              QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "TempDir %1/tmp\nServerBin %1/serverbin\nDataDir /usr/share/cups\n"
                             "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                             "Sandboxing Relaxed\nSystemGroup root\n")
                  .arg(root));
        // Owner-only: the scheduler runs such a backend with its own rights.
        Write("serverbin/backend/korvalpdf",
              QStringLiteral(
                  "#!/bin/sh\n"
                  "if [ $# -eq 0 ]; then echo 'direct korvalpdf \"Unknown\" \"KORVAL test PDF\"'; exit 0; fi\n"
                  "out=\"${DEVICE_URI#korvalpdf:}/job-$1.pdf\"\n"
                  "if [ $# -ge 6 ]; then cat \"$6\" > \"$out.part\"; else cat > \"$out.part\"; fi\n"
                  "mv \"$out.part\" \"$out\"\n"));
        QFile::setPermissions(Path("serverbin/backend/korvalpdf"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        m_server.emplace("CUPS_SERVER", Socket().toLocal8Bit());
        m_home.emplace("HOME", root.toLocal8Bit());  // no personal lpoptions
        m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_cupsd.start(QStringLiteral("cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"), Path("conf/cupsd.conf"), QStringLiteral("-s"),
                       Path("conf/cups-files.conf")});
        m_running = m_cupsd.waitForStarted(10000)
            && QTest::qWaitFor([] { return Run("lpstat", {QStringLiteral("-r")}); }, 15000);
    }

    ~PrivateScheduler()
    {
        if (m_cupsd.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(m_cupsd.processId()), SIGTERM);
        if (!m_cupsd.waitForFinished(10000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }

    bool Running() const { return m_running; }

    // A queue that keeps each job's document, made the default, on the given paper.
    bool AddDefaultPdfQueue(const char *media = "iso_a4_210x297mm")
    {
        return Run("lpadmin",
                   {QStringLiteral("-p"), QStringLiteral("korval"), QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("korvalpdf:") + Path("out"), QStringLiteral("-o"),
                    QStringLiteral("media-default=") + QLatin1String(media)})
            && Run("lpadmin", {QStringLiteral("-d"), QStringLiteral("korval")});
    }

    void ClearJobs()
    {
        QDir out(Path("out"));
        for (const QString &job : out.entryList(QDir::Files))
            out.remove(job);
    }

    bool RejectJobs() { return Run("cupsreject", {QStringLiteral("korval")}); }

    // The first document the backend wrote, once it is complete.
    QString WaitForJob(int timeoutMs = 30000) const
    {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                const QStringList jobs = QDir(Path("out")).entryList({QStringLiteral("job-*.pdf")}, QDir::Files);
                if (!jobs.isEmpty())
                    found = Path("out/") + jobs.first();
                return !found.isEmpty();
            },
            timeoutMs);
        return found;
    }

    QString Log() const
    {
        QFile log(Path("log/error_log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

private:
    QString Path(const char *relative) const { return m_dir.filePath(QString::fromLatin1(relative)); }
    QString Socket() const { return Path("cups.sock"); }

    void Write(const char *relative, const QString &text) const
    {
        QFile file(Path(relative));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text.toUtf8());
    }

    static bool Run(const char *program, const QStringList &arguments)
    {
        QProcess process;
        process.start(QString::fromLatin1(program), arguments);
        return process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }

    static QTemporaryDir &SharedDir()
    {
        static QTemporaryDir dir(QStringLiteral("/tmp/korval-cups-XXXXXX"));
        return dir;
    }

    QTemporaryDir &m_dir = SharedDir();
    std::optional<EnvironmentGuard> m_server;
    std::optional<EnvironmentGuard> m_home;
    QProcess m_cupsd;
    bool m_running = false;
};

}  // namespace korval::test
