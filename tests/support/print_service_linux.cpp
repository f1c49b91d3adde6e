// The print service on Linux: a scheduler of the test's own.

#include "tests/support/print_service.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace korval::test {
namespace {

// The client library keeps the socket path it first read for the life of
// the process, so the folder outlives one scheduler.
QString SharedRoot()
{
    static QTemporaryDir dir(QStringLiteral("/tmp/korval-cups-XXXXXX"));
    return dir.path();
}

class LinuxPrintService final : public PrintService {
public:
    LinuxPrintService() : PrintService(SharedRoot()) { m_running = Service({QStringLiteral("start")}).ok; }
    ~LinuxPrintService() override { Service({QStringLiteral("stop")}); }

    bool AddDefaultPdfQueue(const char *media) override
    {
        QStringList arguments{QStringLiteral("-p"), kTestQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                              QStringLiteral("korvalpdf:") + Path("out")};
        if (media)
            arguments << QStringLiteral("-o") << QStringLiteral("media-default=") + QLatin1String(media);
        // Made anew: a queue that is changed keeps what it was not told.
        Run("lpadmin", {QStringLiteral("-x"), kTestQueue});
        return Run("lpadmin", arguments) && Run("lpadmin", {QStringLiteral("-d"), kTestQueue});
    }

    bool AddDefaultQueue(const QString &name, const QString &uri) override
    {
        return Service({QStringLiteral("queue"), name,
                        uri.isEmpty() ? QStringLiteral("korvalpdf:") + Path("out") : uri})
                   .ok
            && Run("lpadmin", {QStringLiteral("-d"), name});
    }

private:
    EnvironmentGuard m_server = SetForScope("CUPS_SERVER", Path("cups.sock").toLocal8Bit());
    EnvironmentGuard m_home = SetForScope("HOME", m_root.toLocal8Bit());  // no personal lpoptions
};

}  // namespace

std::unique_ptr<PrintService> OpenPrintService()
{
    return std::make_unique<LinuxPrintService>();
}

QString HostPath(const QString &path)
{
    return path;
}

QString LocalPath(const QString &hostPath)
{
    return hostPath;
}

ToolRun RunTool(const QString &name, const QStringList &arguments)
{
    ToolRun run;
    QProcess process;
    process.start(name, arguments);
    run.ok = process.waitForFinished(2 * kBusyMachineMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

}  // namespace korval::test
