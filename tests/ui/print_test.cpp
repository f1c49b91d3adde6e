#include "fixture.h"
#include "pdf_words.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <unistd.h>

namespace korval::test {
namespace {

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
            && QTest::qWaitFor([this] { return Run("lpstat", {QStringLiteral("-r")}); }, 15000);
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

    bool AddDefaultPdfQueue()
    {
        return Run("lpadmin",
                   {QStringLiteral("-p"), QStringLiteral("korval"), QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("korvalpdf:") + Path("out")})
            && Run("lpadmin", {QStringLiteral("-d"), QStringLiteral("korval")});
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

class Printing : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scheduler.Running()) << "the private CUPS scheduler did not start\n"
                                         << scheduler.Log().toStdString();
        MainWindowTest::SetUp();
    }

    void Calculate(int rows)
    {
        for (int i = 1; i <= rows; ++i)
            AppendRow(state, {i, 2, 36, 0.9000000357627869, 1, kElectronic});
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
        ASSERT_TRUE(Button("Command2")->isEnabled());
    }

    PrivateScheduler scheduler;
};

TEST_F(Printing, stampa_sends_the_report_to_the_default_printer)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue()) << scheduler.Log().toStdString();
    Calculate(1);
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));

    const QString job = scheduler.WaitForJob();
    ASSERT_FALSE(job.isEmpty()) << "no job reached the printer\n" << scheduler.Log().toStdString();
    std::vector<QString> texts;
    for (const PdfWord &w : ReadPdfWords(job))
        texts.push_back(w.text);
    const std::vector<QString> expected = {
        QStringLiteral("Selezione"), QStringLiteral("modello"), QStringLiteral("e"),  QStringLiteral("quantità"),
        QStringLiteral("UPS"),       QStringLiteral("Dati"),    QStringLiteral("di"), QStringLiteral("progetto")};
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(std::vector<QString>(texts.begin(), texts.begin() + 8), expected);
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("QX10011")), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("90")), texts.end())
        << "1 x 2 x 36 W needs 90 W";
}

TEST_F(Printing, a_long_report_reaches_the_printer_whole)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue());
    Calculate(kMaxLampRows);
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    const qint64 handedOver = timer.elapsed();
    const QString job = scheduler.WaitForJob();
    ASSERT_FALSE(job.isEmpty());
    RecordProperty("print_ms", static_cast<int>(handedOver));
    std::cout << "250-row report handed to CUPS in " << handedOver << " ms, spooled after " << timer.elapsed()
              << " ms\n";
    const std::vector<PdfWord> words = ReadPdfWords(job);
    ASSERT_FALSE(words.empty());
    EXPECT_GE(words.back().page, 7);
}

TEST_F(Printing, a_refused_job_is_reported)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue());
    ASSERT_TRUE(scheduler.RejectJobs());
    Calculate(1);
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Errore di stampa\n")))
        << messages.shown[0].text.toStdString();
    EXPECT_GT(messages.shown[0].text.size(), 17) << "the spooler says why";
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
}

TEST_F(Printing, no_default_printer_is_a_warning)
{
    for (int language : {0, 1}) {
        messages.shown.clear();
        Combo("Combo1")->setCurrentIndex(language);
        Calculate(1);
        QTest::mouseClick(Button("Command2"), Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  language ? QStringLiteral("No default printer is installed")
                           : QStringLiteral("Nessuna stampante predefinita installata"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    }
}

}  // namespace
}  // namespace korval::test
