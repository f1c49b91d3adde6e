#include "fixture.h"
#include "pdf_words.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTimer>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
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

// Presses "Stampa" and waits until the job has been handed over (or refused).
void PressPrint(Form1 &window)
{
    QTest::mouseClick(test::Button(&window, "Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Printing(); }, 60000)) << "the job never came back";
}

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

    void Print() { PressPrint(*window); }

    PrivateScheduler scheduler;
};

TEST_F(Printing, stampa_sends_the_report_to_the_default_printer)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue()) << scheduler.Log().toStdString();
    Calculate(1);
    Print();
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
    Print();
    const QString job = scheduler.WaitForJob();
    ASSERT_FALSE(job.isEmpty());
    const std::vector<PdfWord> words = ReadPdfWords(job);
    ASSERT_FALSE(words.empty());
    EXPECT_GE(words.back().page, 7);
}

TEST_F(Printing, a_refused_job_is_reported)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue());
    ASSERT_TRUE(scheduler.RejectJobs());
    Calculate(1);
    Print();
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
        Print();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  language ? QStringLiteral("No default printer is installed")
                           : QStringLiteral("Nessuna stampante predefinita installata"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    }
}

// The printed size of a PDF's first page, in points.
QSizeF PageSize(const QString &pdf)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0) {
        ADD_FAILURE() << "pdfinfo (Debian package poppler-utils) failed on " << pdf.toStdString();
        return {};
    }
    static const QRegularExpression size(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"));
    const auto m = size.match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

TEST_F(Printing, the_report_goes_on_the_default_printer_s_own_paper)
{
    struct Paper {
        const char *media;
        QSizeF points;
    };
    const Paper papers[] = {{"iso_a4_210x297mm", {595.3, 841.9}}, {"na_letter_8.5x11in", {612, 792}}};
    Calculate(3);
    std::vector<std::vector<PdfWord>> printed;
    for (const Paper &paper : papers) {
        ASSERT_TRUE(scheduler.AddDefaultPdfQueue(paper.media)) << scheduler.Log().toStdString();
        Print();
        ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        const QString job = scheduler.WaitForJob();
        ASSERT_FALSE(job.isEmpty()) << scheduler.Log().toStdString();
        const QSizeF size = PageSize(job);
        EXPECT_NEAR(size.width(), paper.points.width(), 1) << paper.media << "\n" << scheduler.Log().toStdString();
        EXPECT_NEAR(size.height(), paper.points.height(), 1) << paper.media;
        printed.push_back(ReadPdfWords(job));
        scheduler.ClearJobs();
    }
    // Every word in the same place relative to the printable area: the title
    // (x 2500, y 1500), the project heading (x 0) and the last word anchor
    // each paper's stretch.
    ASSERT_EQ(printed[0].size(), printed[1].size());
    ASSERT_GT(printed[0].size(), 10u);
    const auto relative = [](const std::vector<PdfWord> &words, const PdfWord &w) {
        const PdfWord &title = words[0], &heading = words[5], &last = words.back();
        return QPointF((w.x - heading.x) / (title.x - heading.x), (w.y - title.y) / (last.y - title.y));
    };
    for (std::size_t i = 0; i < printed[0].size(); ++i) {
        EXPECT_EQ(printed[0][i].text, printed[1][i].text);
        const QPointF a4 = relative(printed[0], printed[0][i]), letter = relative(printed[1], printed[1][i]);
        EXPECT_NEAR(a4.x(), letter.x(), 0.01) << printed[0][i].text.toStdString();
        EXPECT_NEAR(a4.y(), letter.y(), 0.002) << printed[0][i].text.toStdString();
    }
}

// A print service at CUPS_SERVER that takes connections and never answers.
class SilentSpooler {
public:
    explicit SilentSpooler(const QString &path) : m_path(path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(),
                    std::min<std::size_t>(name.size(), sizeof address.sun_path - 1));
        m_listening = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::listen(m_fd, 16) == 0;
    }
    ~SilentSpooler()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::remove(m_path);
    }
    bool Listening() const { return m_listening; }

private:
    QString m_path;
    int m_fd = -1;
    bool m_listening = false;
};

class UnhelpfulPrintService : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        AppendRow(state, {10, 2, 36, 0.9000000357627869, 1, kElectronic});
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
        window->SetPrintBound(std::chrono::milliseconds(1500));
    }

    QString Socket() const { return dir.filePath(QStringLiteral("cups.sock")); }

    QTemporaryDir dir;
    EnvironmentGuard server{"CUPS_SERVER", QFile::encodeName(dir.filePath(QStringLiteral("cups.sock")))};
    EnvironmentGuard home{"HOME", QFile::encodeName(dir.path())};
};

TEST_F(UnhelpfulPrintService, a_silent_one_neither_freezes_the_windows_nor_passes_for_no_printer)
{
    SilentSpooler spooler(Socket());
    ASSERT_TRUE(spooler.Listening());
    // The longest the event loop goes without running a 5 ms timer.
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker,
                     [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    ticker.start(5);
    sinceTick.start();
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(window->Printing());
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor) << "the user sees something is going on";
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);  // a second press sends nothing
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Printing(); }, 20000));
    ticker.stop();
    std::cout << "longest event-loop stall while printing: " << longestStall << " ms\n";
    EXPECT_LT(longestStall, 100);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Errore di stampa\nil servizio di stampa non risponde"));
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
}

TEST_F(UnhelpfulPrintService, one_that_hangs_up_or_is_not_there_is_a_failure_with_a_reason)
{
    QLocalServer hangsUp;
    ASSERT_TRUE(hangsUp.listen(Socket()));
    QObject::connect(&hangsUp, &QLocalServer::newConnection, &hangsUp, [&] {
        while (QLocalSocket *peer = hangsUp.nextPendingConnection())
            peer->abort();
    });
    Combo("Combo1")->setCurrentIndex(1);
    PressPrint(*window);
    hangsUp.close();
    PressPrint(*window);
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const auto &shown : messages.shown) {
        EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Printing failed\n"))) << shown.text.toStdString();
        EXPECT_GT(shown.text.size(), 17) << "with the reason";
        EXPECT_NE(shown.text, QStringLiteral("Printing failed\nthe print service does not answer"));
    }
    EXPECT_TRUE(
        messages.shown[1].text.startsWith(QStringLiteral("Printing failed\nthe print service cannot be reached")))
        << messages.shown[1].text.toStdString();
}

TEST_F(UnhelpfulPrintService, closing_the_window_while_a_job_waits_ends_it)
{
    SilentSpooler spooler(Socket());
    window->SetPrintBound(std::chrono::milliseconds(60000));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(window->Printing());
    QTest::qWait(200);
    QElapsedTimer closing;
    closing.start();
    window->close();
    window.reset();
    EXPECT_LT(closing.elapsed(), 2000) << "closing does not wait for the print service";
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace korval::test
