#include "tests/support/scheduler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPrinterInfo>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace korval::test {
namespace {

#ifdef Q_OS_WIN
// Wine's own extensions of kernel32; Windows itself has none.
template<typename Function> Function WineCall(const char *name)
{
    return reinterpret_cast<Function>(QLibrary::resolve(QStringLiteral("kernel32"), name));
}
#endif

// The scheduler's folder. The client library keeps the socket path it first
// read for the life of the process, so the folder outlives one scheduler.
// Under Wine that path is the CUPS_SERVER the program started with, and
// the scheduler there is the test run's (tests/ui/wine_print_service.sh).
QString SharedRoot()
{
#ifdef Q_OS_WIN
    static const QString root = [] {
        const QByteArray socket = QFileInfo(QString::fromLocal8Bit(qgetenv("CUPS_SERVER"))).path().toLocal8Bit();
        static const auto toDos = WineCall<wchar_t *(*)(const char *)>("wine_get_dos_file_name");
        wchar_t *dos = toDos ? toDos(socket.constData()) : nullptr;
        if (!dos)
            return QString();
        const QString path = QDir::fromNativeSeparators(QString::fromWCharArray(dos));
        HeapFree(GetProcessHeap(), 0, dos);
        return path;
    }();
    return root;
#else
    static QTemporaryDir dir(QStringLiteral("/tmp/korval-cups-XXXXXX"));
    return dir.path();
#endif
}

}  // namespace

QString HostPath(const QString &path)
{
#ifdef Q_OS_WIN
    static const auto toUnix = WineCall<char *(*)(const wchar_t *)>("wine_get_unix_file_name");
    if (toUnix) {
        char *unixPath = toUnix(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()));
        if (unixPath) {
            const QString result = QString::fromLocal8Bit(unixPath);
            HeapFree(GetProcessHeap(), 0, unixPath);
            return result;
        }
    }
#endif
    return path;
}

ToolRun RunTool(const QString &name, const QStringList &arguments)
{
    ToolRun run;
#ifdef Q_OS_WIN
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out")), err = dir.filePath(QStringLiteral("err")),
                  code = dir.filePath(QStringLiteral("code"));
    QStringList shell{
        QStringLiteral("-c"),
        QStringLiteral(R"(o=$1 e=$2 c=$3; shift 3; "$@" >"$o" 2>"$e"; echo $? >"$c.part"; mv "$c.part" "$c")"),
        QStringLiteral("sh"),
        HostPath(out),
        HostPath(err),
        HostPath(code),
        name};
    shell += arguments;
    if (!QProcess::startDetached(QStringLiteral("Z:/bin/sh"), shell)
        || !QTest::qWaitFor([&] { return QFile::exists(code); }, kBusyMachineMs))
        return run;
    const auto read = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    run.output = read(out);
    run.errors = read(err);
    run.ok = read(code).trimmed() == "0";
#else
    QProcess process;
    process.start(name, arguments);
    run.ok = process.waitForFinished(kBusyMachineMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
#endif
    return run;
}

EnvironmentGuard::EnvironmentGuard(const char *name, const QByteArray &value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

EnvironmentGuard::~EnvironmentGuard()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

PrivateScheduler::PrivateScheduler() : m_root(SharedRoot())
{
    QDir(Path("out")).removeRecursively();
#ifdef Q_OS_WIN
    QDir(m_root).mkpath(QStringLiteral("out"));
    m_running = !m_root.isEmpty() && Answers();
    return;
#endif
    const QString root = m_root;
    QFile::remove(Path("conf/printers.conf"));
    QFile::remove(Path(".cups/lpoptions"));
    for (const char *sub : {"conf", "spool", "cache", "state", "log", "tmp", "out", "serverbin/backend"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // The scheduler's helpers (the driver lister among them) run as its
    // unprivileged user.
    QFile::setPermissions(root, QFile::Permissions(0x7755));
    QFile::setPermissions(Path("out"), QFile::Permissions(0x7777));
    QFile::setPermissions(Path("tmp"), QFile::Permissions(0x7777));
    for (const char *sub : {"filter", "daemon", "cgi-bin", "driver", "notifier", "monitor", "backend/ipp"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub),
                    Path("serverbin/") + QLatin1String(sub));

    Write("conf/cupsd.conf",
          QStringLiteral("Listen %1\nLogLevel info\nBrowsing Off\nWebInterface No\nDefaultPaperSize None\n"
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
    // Keeps what leaves the filter chain, as a printer would receive it.
    // Owner-only: the scheduler runs such a backend with its own rights.
    Write("serverbin/backend/korvalpdf",
          QStringLiteral(
              "#!/bin/sh\n"
              "if [ $# -eq 0 ]; then echo 'direct korvalpdf \"Unknown\" \"KORVAL test PDF\"'; exit 0; fi\n"
              "out=\"${DEVICE_URI#korvalpdf:}/job-$1\"\n"
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
    m_running =
        m_cupsd.waitForStarted(kBusyMachineMs) && QTest::qWaitFor([] { return Answers(); }, kBusyMachineMs);
}

PrivateScheduler::~PrivateScheduler()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000))
        m_cupsd.kill();
    m_cupsd.waitForFinished(5000);
}

bool PrivateScheduler::AddDefaultPdfQueue(const char *media)
{
#ifdef Q_OS_WIN
    // The run's own queue, on A4.
    Q_UNUSED(media);
    return MakeDefault(QStringLiteral("korval"));
#endif
    QStringList arguments{QStringLiteral("-p"), QStringLiteral("korval"), QStringLiteral("-E"),
                          QStringLiteral("-v"), QStringLiteral("korvalpdf:") + Path("out")};
    if (media)
        arguments << QStringLiteral("-o") << QStringLiteral("media-default=") + QLatin1String(media);
    // Made anew: a queue that is changed keeps what it was not told.
    Run("lpadmin", {QStringLiteral("-x"), QStringLiteral("korval")});
    return Run("lpadmin", arguments) && MakeDefault(QStringLiteral("korval"));
}

bool PrivateScheduler::AddDefaultQueue(const QString &name, const QStringList &arguments, const QString &uri)
{
#ifdef Q_OS_WIN
    // Made before the program started, as the table describes it.
    Q_UNUSED(arguments);
    Q_UNUSED(uri);
    return MakeDefault(name);
#endif
    return Run("lpadmin",
               QStringList{QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                           uri.isEmpty() ? QStringLiteral("korvalpdf:") + Path("out") : uri}
                   + arguments)
        && MakeDefault(name);
}

void PrivateScheduler::SetUserOptions(const QString &queue, const QString &options)
{
    QDir(m_root).mkpath(QStringLiteral(".cups"));
    Write(".cups/lpoptions", options.isEmpty() ? QString() : QStringLiteral("Dest %1 %2\n").arg(queue, options));
}

void PrivateScheduler::ClearJobs()
{
    QDir out(Path("out"));
    for (const QString &job : out.entryList(QDir::Files))
        out.remove(job);
}

bool PrivateScheduler::RejectJobs()
{
    return Run("cupsreject", {QStringLiteral("korval")});
}

QString PrivateScheduler::WaitForJob(int timeoutMs) const
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            QStringList jobs = QDir(Path("out")).entryList({QStringLiteral("job-*")}, QDir::Files);
            jobs.removeIf([](const QString &job) { return job.endsWith(QLatin1String(".part")); });
            if (!jobs.isEmpty())
                found = Path("out/") + jobs.first();
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

QString PrivateScheduler::Path(const char *relative) const
{
    return m_root + QLatin1Char('/') + QLatin1String(relative);
}

// Wine took its printers from CUPS when the program started, and made
// CUPS's default its own; from then on the default is Windows' to choose.
bool PrivateScheduler::MakeDefault(const QString &queue)
{
#ifdef Q_OS_WIN
    return QPrinterInfo::availablePrinterNames().contains(queue)
        && SetDefaultPrinterW(reinterpret_cast<const wchar_t *>(queue.utf16()));
#else
    return Run("lpadmin", {QStringLiteral("-d"), queue});
#endif
}

QString PrivateScheduler::Log() const
{
    QFile log(Path("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void PrivateScheduler::Write(const char *relative, const QString &text) const
{
    QFile file(Path(relative));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

// `lpstat -r` says whether the scheduler answers, always with exit code 0.
bool PrivateScheduler::Answers()
{
    return RunTool(QStringLiteral("env"),
                   {QStringLiteral("LC_ALL=C"), QStringLiteral("lpstat"), QStringLiteral("-r")})
        .output.startsWith("scheduler is running");
}

bool PrivateScheduler::Run(const char *program, const QStringList &arguments)
{
    return RunTool(QString::fromLatin1(program), arguments).ok;
}

}  // namespace korval::test
