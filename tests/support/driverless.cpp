#include "tests/support/driverless.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "tests/support/scheduler.h"

namespace korval::test {
namespace {

// The queue's backend waits until the printer has done the job.
bool NoJobsLeft()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    return lpstat.waitForFinished(kBusyMachineMs) && lpstat.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

DriverlessPrinter::DriverlessPrinter()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("spool"));
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"),
                 QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus"))});
    QTcpServer probe;  // a free port
    probe.listen(QHostAddress::LocalHost);
    m_port = probe.serverPort();
    probe.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus")));
    m_printer.setProcessEnvironment(environment);
    m_printer.setProcessChannelMode(QProcess::MergedChannels);
    const bool busUp = m_bus.waitForStarted(kBusyMachineMs)
        && QTest::qWaitFor([&] { return QFile::exists(m_dir.filePath(QStringLiteral("bus"))); }, kBusyMachineMs);
    if (busUp)
        m_printer.start(QStringLiteral("ippeveprinter"),
                        {QStringLiteral("-n"), QStringLiteral("localhost"), QStringLiteral("-p"),
                         QString::number(m_port), QStringLiteral("-d"), m_dir.filePath(QStringLiteral("spool")),
                         QStringLiteral("-k"), QStringLiteral("-f"),
                         QStringLiteral("application/pdf,image/pwg-raster,image/urf"), QStringLiteral("-r"),
                         QStringLiteral("off"), QStringLiteral("KorvalDriverless")});
    m_running = busUp && m_printer.waitForStarted(kBusyMachineMs)
        && QTest::qWaitFor(
                    [&] {
                        QTcpSocket socket;
                        socket.connectToHost(QHostAddress::LocalHost, m_port);
                        return socket.waitForConnected(200);
                    },
                    kBusyMachineMs);
}

DriverlessPrinter::~DriverlessPrinter()
{
    for (QProcess *process : {&m_printer, &m_bus}) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
    }
}

QString DriverlessPrinter::WaitForJob() const
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            const QStringList jobs =
                QDir(m_dir.filePath(QStringLiteral("spool"))).entryList({QStringLiteral("*.pdf")}, QDir::Files);
            if (!jobs.isEmpty() && NoJobsLeft())
                found = m_dir.filePath(QStringLiteral("spool/") + jobs.first());
            return !found.isEmpty();
        },
        30000);
    return found;
}

}  // namespace korval::test
