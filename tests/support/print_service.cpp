#include "tests/support/print_service.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace korval::test {

std::vector<UserQueue> UserQueues(const QStringList &offers)
{
    QFile file(LocalPath(QStringLiteral(KORVAL_PRINT_SERVICE_DIR "/cups/queues.tsv")));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no queue table at " << file.fileName().toStdString();
        return {};
    }
    std::vector<UserQueue> queues;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QStringList cells = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (line.isEmpty() || line.startsWith('#')
            || (cells.size() == 6 && cells[1] != QLatin1String("any") && !offers.contains(cells[1])))
            continue;
        if (cells.size() != 6) {
            ADD_FAILURE() << "a queue row without its six columns: " << line.toStdString();
            continue;
        }
        const QStringList m = cells[3].split(QLatin1Char(' '));
        queues.push_back(
            {cells[0], cells[1], Points(cells[2] == QLatin1String("letter") ? QPageSize::Letter : QPageSize::A4),
             QMarginsF(m.value(0).toDouble(), m.value(1).toDouble(), m.value(2).toDouble(), m.value(3).toDouble()),
             cells[4] == QLatin1String("-") ? QString() : cells[4]});
    }
    return queues;
}

void PrintService::SetUserOptions(const QString &queue, const QString &options)
{
    QDir(m_root).mkpath(QStringLiteral(".cups"));
    QFile file(Path(".cups/lpoptions"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && !options.isEmpty())
        file.write(QStringLiteral("Dest %1 %2\n").arg(queue, options).toUtf8());
}

void PrintService::ClearJobs()
{
    QDir out(Path("out"));
    for (const QString &job : out.entryList(QDir::Files))
        out.remove(job);
}

QString PrintService::WaitForJob() const
{
    const ToolRun job = Service({QStringLiteral("job")});
    return job.ok ? Path("out/") + QFileInfo(QString::fromLocal8Bit(job.output.trimmed())).fileName() : QString();
}

QString PrintService::StartDriverless() const
{
    const ToolRun uri = Service({QStringLiteral("driverless")});
    return uri.ok ? QString::fromLatin1(uri.output.trimmed()) : QString();
}

QString PrintService::WaitForDriverlessJob() const
{
    const ToolRun job = Service({QStringLiteral("driverless-job")});
    return job.ok ? LocalPath(QString::fromLocal8Bit(job.output.trimmed())) : QString();
}

QString PrintService::Path(const char *relative) const
{
    return m_root + QLatin1Char('/') + QLatin1String(relative);
}

QString PrintService::Log() const
{
    QFile log(Path("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

ToolRun PrintService::Service(const QStringList &arguments) const
{
    QStringList command{QStringLiteral(KORVAL_PRINT_SERVICE_DIR "/print_service.sh"), arguments.value(0),
                        HostPath(m_root)};
    return RunTool(QStringLiteral("bash"), command + arguments.mid(1));
}

// `lpstat -r` says whether the scheduler answers, always with exit code 0.
bool PrintService::Answers()
{
    return RunTool(QStringLiteral("env"),
                   {QStringLiteral("LC_ALL=C"), QStringLiteral("lpstat"), QStringLiteral("-r")})
        .output.startsWith("scheduler is running");
}

bool PrintService::Run(const char *program, const QStringList &arguments)
{
    return RunTool(QString::fromLatin1(program), arguments).ok;
}

}  // namespace korval::test
