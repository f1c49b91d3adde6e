#include "fixture.h"
#include "pdf_words.h"
#include "scheduler.h"

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
