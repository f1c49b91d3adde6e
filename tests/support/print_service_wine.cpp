// The print service under Wine: the one the test run made (print_service.sh
// wine) before Wine read its printers, with the table's queues that need
// nothing.

#include "tests/support/print_service.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPrinterInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

namespace korval::test {
namespace {

// Wine's own extensions of kernel32; Windows itself has none.
template<typename Function> Function WineCall(const char *name)
{
    return reinterpret_cast<Function>(QLibrary::resolve(QStringLiteral("kernel32"), name));
}

class WinePrintService final : public PrintService {
public:
    WinePrintService() : PrintService(LocalPath(QFileInfo(QString::fromLocal8Bit(qgetenv("CUPS_SERVER"))).path()))
    {
        QDir(Path("out")).removeRecursively();
        QDir(m_root).mkpath(QStringLiteral("out"));
        m_running = !m_root.isEmpty() && Answers();
    }

    // The printers of the prefix as Wine makes them from CUPS, for the tests
    // after: Wine leaves a printer on a port of its own where it is, even
    // once CUPS has no such queue.
    ~WinePrintService() override
    {
        for (const QString &queue : m_ported)
            SetPort(queue, QStringLiteral("CUPS:") + queue);
    }

    bool AddDefaultPdfQueue(const char *media) override
    {
        // The test queue stands for the table's first A4 queue that needs
        // nothing.
        if (media && qstrcmp(media, kA4Media) == 0)
            for (const UserQueue &queue : UserQueues({}))
                if (queue.paper == Points(QPageSize::A4))
                    return MakeDefault(queue.name);
        ADD_FAILURE() << "the Wine run's print service has no queue on " << (media ? media : "no paper");
        return false;
    }

    bool AddDefaultQueue(const QString &name, const QString &uri) override
    {
        if (!uri.isEmpty()) {
            ADD_FAILURE() << "Wine has read its printers already: no queue can join at " << uri.toStdString();
            return false;
        }
        for (const UserQueue &queue : UserQueues({QStringLiteral("file-port")}))
            if (queue.name == name && queue.needs == QLatin1String("file-port")) {
                m_ported << name;
                SetPort(name, QStringLiteral("FILE:"));
            }
        return MakeDefault(name);
    }

private:
    // Where Wine keeps a printer's port, which it leaves as it is set once
    // it has read the printer from CUPS (the test program's start).
    static void SetPort(const QString &queue, const QString &port)
    {
        QSettings(QStringLiteral("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\")
                      + queue,
                  QSettings::NativeFormat)
            .setValue(QStringLiteral("Port"), port);
        QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices"),
                  QSettings::NativeFormat)
            .setValue(queue, QStringLiteral("wineps.drv,") + port);
    }

    QStringList m_ported;

    // From the program's start on, the default is Windows' to choose.
    static bool MakeDefault(const QString &queue)
    {
        if (!QPrinterInfo::availablePrinterNames().contains(queue)) {
            ADD_FAILURE() << "the Wine run's print service has no queue " << queue.toStdString();
            return false;
        }
        return SetDefaultPrinterW(reinterpret_cast<const wchar_t *>(queue.utf16()));
    }
};

}  // namespace

std::unique_ptr<PrintService> OpenPrintService()
{
    return std::make_unique<WinePrintService>();
}

QString HostPath(const QString &path)
{
    static const auto toUnix = WineCall<char *(*)(const wchar_t *)>("wine_get_unix_file_name");
    char *unixPath =
        toUnix ? toUnix(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16())) : nullptr;
    if (!unixPath)
        return path;
    const QString result = QString::fromLocal8Bit(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

QString LocalPath(const QString &hostPath)
{
    static const auto toDos = WineCall<wchar_t *(*)(const char *)>("wine_get_dos_file_name");
    wchar_t *dos = toDos ? toDos(hostPath.toLocal8Bit().constData()) : nullptr;
    if (!dos)
        return QString();
    const QString path = QDir::fromNativeSeparators(QString::fromWCharArray(dos));
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
}

ToolRun RunTool(const QString &name, const QStringList &arguments)
{
    ToolRun run;
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
        || !QTest::qWaitFor([&] { return QFile::exists(code); }, 2 * kBusyMachineMs))
        return run;
    const auto read = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    run.output = read(out);
    run.errors = read(err);
    run.ok = read(code).trimmed() == "0";
    return run;
}

}  // namespace korval::test
