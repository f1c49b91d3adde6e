#include "tests/cos_phi.h"
#include "tests/support/driverless.h"
#include "tests/support/fixture.h"
#include "tests/support/pdf_words.h"
#include "tests/support/scheduler.h"
#include "tests/support/sheets.h"
#ifdef KORVAL_PRINTS_THROUGH_CUPS
#include "ui/cups_media.h"
#endif

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

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
            AppendRow(state, {i, 2, 36, kCosPhi09, 1, kElectronic});
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
    // Every lamp row reaches the paper (each has 36 W lamps)...
    EXPECT_GE(std::count_if(words.begin(), words.end(), [](const PdfWord &w) { return w.text == "36"; }),
              kMaxLampRows);
    // ...and every page carries the words KORVAL laid out on it, in order.
    const QString laidOut = scheduler.Path("long-report.pdf");
    ASSERT_TRUE(WriteReportPdf(window->CollectReport(), laidOut));
    const std::vector<PdfWord> expected = ReadPdfWords(laidOut);
    EXPECT_GE(expected.back().page, 7);
    ASSERT_EQ(words.size(), expected.size());
    const auto differs =
        std::mismatch(words.begin(), words.end(), expected.begin(),
                      [](const auto &a, const auto &b) { return a.text == b.text && a.page == b.page; });
    EXPECT_TRUE(differs.first == words.end())
        << "\"" << differs.first->text.toStdString() << "\" on page " << differs.first->page << " where \""
        << differs.second->text.toStdString() << "\" on page " << differs.second->page << " was laid out";
}

#ifdef KORVAL_PRINTS_THROUGH_CUPS
// Qt's printer support drops the print service's answer to a job.
TEST_F(Printing, a_refused_job_is_reported_in_the_program_s_language_with_the_spooler_s_reason)
{
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue());
    ASSERT_TRUE(scheduler.RejectJobs());
    Calculate(1);
    const QString expected[] = {QStringLiteral("Errore di stampa\nil servizio di stampa ha rifiutato il lavoro\n"),
                                QStringLiteral("Printing failed\nthe print service refused the job\n")};
    for (int language : {0, 1}) {
        messages.shown.clear();
        PickLanguage(language);
        Print();
        ASSERT_EQ(messages.shown.size(), 1u);
        const QString text = messages.shown[0].text;
        EXPECT_TRUE(text.startsWith(expected[language])) << text.toStdString();
        EXPECT_GT(text.size(), expected[language].size()) << "the spooler says why, on a line of its own";
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    }
}

#endif

TEST_F(Printing, no_default_printer_is_a_warning)
{
    for (int language : {0, 1}) {
        messages.shown.clear();
        PickLanguage(language);
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

#ifdef KORVAL_PRINTS_THROUGH_CUPS
// Qt reads a queue's paper from its driver alone; these queues have none.
TEST_F(Printing, the_report_goes_on_the_default_printer_s_own_paper)
{
    struct Paper {
        const char *media;
        QSizeF points;
    };
    // A queue that names no paper at all gets an upright A4 sheet.
    const Paper papers[] = {
        {"iso_a4_210x297mm", {595.3, 841.9}}, {"na_letter_8.5x11in", {612, 792}}, {nullptr, {595.3, 841.9}}};
    Calculate(3);
    std::vector<std::vector<PdfWord>> printed;
    for (const Paper &paper : papers) {
        ASSERT_TRUE(scheduler.AddDefaultPdfQueue(paper.media)) << scheduler.Log().toStdString();
        Print();
        ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        const QString job = scheduler.WaitForJob();
        ASSERT_FALSE(job.isEmpty()) << scheduler.Log().toStdString();
        const QSizeF size = PageSize(job);
        const std::string media = paper.media ? paper.media : "no media";
        EXPECT_NEAR(size.width(), paper.points.width(), 1) << media << "\n" << scheduler.Log().toStdString();
        EXPECT_NEAR(size.height(), paper.points.height(), 1) << media;
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

// A printer's media collection, as a driverless printer describes its paper
// (no queue CUPS makes passes one with margins to the program).
TEST(MediaCollection, gives_the_printer_s_own_size_and_margins)
{
    // Letter with a printer's own margins (a larger one at the foot, as
    // many keep), and one that names no margins (the usual ones then); the
    // queue table pins a borderless one.
    const double usual = PageGeometry().Margins.left();
    const std::pair<std::vector<int>, QMarginsF> cases[] = {
        {{300, 500, 400, 1270}, QMarginsF(3, 5, 4, 12.7)},
        {{}, QMarginsF(usual, usual, usual, usual)},
    };
    for (const auto &[given, millimetres] : cases) {
        SCOPED_TRACE(given.size());
        ipp_t *size = ippNew();
        ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "x-dimension", 21590);
        ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "y-dimension", 27940);
        ipp_t *collection = ippNew();
        ippAddCollection(collection, IPP_TAG_ZERO, "media-size", size);
        const char *edges[] = {"media-left-margin", "media-top-margin", "media-right-margin",
                               "media-bottom-margin"};
        for (std::size_t i = 0; i < given.size(); ++i)
            ippAddInteger(collection, IPP_TAG_ZERO, IPP_TAG_INTEGER, edges[i], given[i]);
        const std::optional<Paper> paper = PaperOfCollection(collection);
        ippDelete(collection);
        ippDelete(size);
        ASSERT_TRUE(paper.has_value());
        EXPECT_NEAR(paper->Page.Paper.size(QPageSize::Millimeter).width(), 215.9, 0.01);
        EXPECT_NEAR(paper->Page.Paper.size(QPageSize::Millimeter).height(), 279.4, 0.01);
        EXPECT_EQ(paper->Page.Margins, millimetres);
    }
}

#endif

TEST_F(Printing, every_queue_a_user_adds_prints_on_its_own_paper_with_every_word_on_the_sheet)
{
    struct Queue {
        const char *name;
        QStringList lpadmin;  // after -p NAME -E -v URI
        const char *userOptions;
        QSizeF paper;       // points
        QMarginsF margins;  // the driver's or printer's printable area, points
    };
    const QSizeF a4(595.28, 841.89), letter(612, 792);
    const QString cupsPdf = QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd");
    const QString generic = QStringLiteral("drv:///sample.drv/generic.ppd");
    const QString m = QStringLiteral("-m"), o = QStringLiteral("-o");
    const Queue queues[] = {
        {"cups-pdf", {m, cupsPdf}, "", a4, {}},
        {"cups-pdf-letter", {m, cupsPdf, o, QStringLiteral("PageSize=Letter")}, "", letter, {}},
        {"generic-a4", {m, generic, o, QStringLiteral("PageSize=A4")}, "", a4, {12, 12, 12, 12}},
        {"laserjet", {m, QStringLiteral("drv:///sample.drv/laserjet.ppd")}, "", letter, {18, 36, 18, 36}},
#ifndef Q_OS_WIN
        // The test starts this printer, after Wine has read its queues.
        {"driverless", {m, QStringLiteral("everywhere")}, "", letter, {18, 18, 18, 18}},
#endif
#ifdef KORVAL_PRINTS_THROUGH_CUPS
        // Qt's printer support reads no lpoptions (elsewhere the user's
        // choice is the printer's own default, which it does read).
        {"user-letter",
         {m, generic, o, QStringLiteral("PageSize=A4")},
         "media=na_letter_8.5x11in",
         letter,
         {12, 12, 12, 12}},
        // The same choice as a PPD option, as a print dialog stores it.
        {"user-pagesize-letter",
         {m, generic, o, QStringLiteral("PageSize=A4")},
         "PageSize=Letter",
         letter,
         {12, 12, 12, 12}},
        // Both, disagreeing: the PPD option wins, as CUPS's own filters
        // mark it after the media.
        {"user-media-and-pagesize",
         {m, generic, o, QStringLiteral("PageSize=A4")},
         "media=iso_a4_210x297mm PageSize=Letter",
         letter,
         {12, 12, 12, 12}},
#endif
    };
    std::optional<DriverlessPrinter> driverless;
    if (std::any_of(std::begin(queues), std::end(queues),
                    [](const Queue &q) { return q.lpadmin.contains(QStringLiteral("everywhere")); })) {
        driverless.emplace();
        ASSERT_TRUE(driverless->Running()) << "ippeveprinter (Debian package cups-ipp-utils) did not start\n"
                                           << driverless->Log().toStdString();
    }
    Calculate(3);
    // The page as KORVAL lays it out, on A4 less 4.25 mm.
    const QString laidOut = scheduler.Path("laid-out.pdf");
    ASSERT_TRUE(WriteReportPdf(window->CollectReport(), laidOut));
    const Sheet expected = ReadPdfSheet(laidOut, A4PrintableArea(), true);
    const std::vector<Band> expectedBands = BandsOf(expected, A4PrintableArea());
    ASSERT_GT(expectedBands.size(), 10u);

    for (const Queue &queue : queues) {
        SCOPED_TRACE(queue.name);
        const bool isDriverless = queue.lpadmin.contains(QStringLiteral("everywhere"));
        ASSERT_TRUE(scheduler.AddDefaultQueue(QString::fromLatin1(queue.name), queue.lpadmin,
                                              isDriverless ? driverless->Uri() : QString()))
            << scheduler.Log().toStdString();
        if (isDriverless) {
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return QFile::exists(scheduler.Path("conf/ppd/") + QLatin1String(queue.name)
                                         + QLatin1String(".ppd"));
                },
                30000))
                << "CUPS made no driver for the driverless printer\n"
                << scheduler.Log().toStdString();
        }
        scheduler.SetUserOptions(QString::fromLatin1(queue.name), QString::fromLatin1(queue.userOptions));
        Print();
        ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        const QString output = isDriverless ? driverless->WaitForJob() : scheduler.WaitForJob();
        ASSERT_FALSE(output.isEmpty()) << "nothing came out\n" << scheduler.Log().toStdString();
        const QRectF printable = QRectF(QPointF(), queue.paper).marginsRemoved(queue.margins);
        const Sheet sheet = ReadSheet(output, printable);
        scheduler.ClearJobs();

        EXPECT_NEAR(sheet.paper.width(), queue.paper.width(), 1);
        EXPECT_NEAR(sheet.paper.height(), queue.paper.height(), 1);
        // Every line where KORVAL put it relative to the printable area,
        // none of it cut off, and where the words can be read, each of them
        // on the sheet and in its place.
        const std::vector<Band> bands = BandsOf(sheet, printable);
        ASSERT_EQ(bands.size(), expectedBands.size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_NEAR(bands[i].top, expectedBands[i].top, 40) << "line " << i;
            EXPECT_NEAR(bands[i].bottom, expectedBands[i].bottom, 40) << "line " << i;
            EXPECT_NEAR(bands[i].left, expectedBands[i].left, 40) << "line " << i;
        }
        if (sheet.words.empty())
            continue;
        ASSERT_EQ(sheet.words.size(), expected.words.size());
        for (std::size_t i = 0; i < sheet.words.size(); ++i) {
            const PdfWord &w = sheet.words[i];
            EXPECT_TRUE(QRectF(QPointF(), sheet.paper).contains(w.box))
                << w.text.toStdString() << " off the sheet";
            EXPECT_EQ(w.text, expected.words[i].text);
            EXPECT_NEAR(w.x, expected.words[i].x, 40) << w.text.toStdString();
            EXPECT_NEAR(w.y, expected.words[i].y, 40) << w.text.toStdString();
        }
    }
}

#ifndef Q_OS_WIN
// Wine's CUPS client looks for the print service at the CUPS_SERVER the
// program started with, on a Unix socket that a Windows program cannot
// open: an unhelpful print service is Linux's alone.

// A print service at CUPS_SERVER that takes connections and never answers.
class SilentSpooler {
public:
    explicit SilentSpooler(const QString &path)
    {
        m_listening = m_server.listen(path);
        QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] {
            while (QLocalSocket *peer = m_server.nextPendingConnection())
                m_peers.push_back(peer);
        });
    }
    bool Listening() const { return m_listening; }
    // A job has come to it.
    bool Reached() const { return !m_peers.empty(); }
    // Hangs up on everyone: whatever waits on it ends.
    void Close()
    {
        for (QLocalSocket *peer : m_peers)
            peer->abort();
        m_server.close();
    }

private:
    QLocalServer m_server;
    std::vector<QLocalSocket *> m_peers;
    bool m_listening = false;
};

#ifdef KORVAL_PRINTS_THROUGH_CUPS
// A print server on the network, as the program meets one: a TCP port in
// front of the private scheduler, relaying each connection to it, and able
// to answer as such servers do where CUPS itself never would.
class Relay : public QObject {
public:
    enum Answer {
        Faithful,
        // Job creation and documents answered
        // "successful-ok-ignored-or-substituted-attributes", as driverless
        // printers commonly answer.
        Substituting,
        // The connection lost as soon as a document sets out.
        LosingDocuments,
    };

    Relay(QString scheduler, Answer answer) : m_scheduler(std::move(scheduler)), m_answer(answer)
    {
        // A full queue of connections not yet taken makes the system drop
        // a new one's first packet: connecting takes a second or more.
        m_server.setListenBacklogSize(0);
        m_listening = m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                Relaying(client);
        });
    }
    bool Listening() const { return m_listening; }
    QByteArray Server() const { return "127.0.0.1:" + QByteArray::number(m_server.serverPort()); }

    // Slow to take connections until Release().
    bool Hold()
    {
        m_server.pauseAccepting();
        m_queued.connectToHost(QHostAddress::LocalHost, m_server.serverPort());
        return m_queued.waitForConnected(kBusyMachineMs);
    }
    void Release() { m_server.resumeAccepting(); }

private:
    // A request, then its answer: CUPS's client sends the next request only
    // once it has the answer. An IPP message starts with its version,
    // operation or status, and request id, after the HTTP header and, in
    // chunked transfer, the chunk's size.
    struct Exchange {
        QByteArray request, answer;
        bool answering = false;
        quint16 operation = 0;
    };

    static int IppStart(const QByteArray &http)
    {
        const int body = http.indexOf("\r\n\r\n");
        if (body < 0)
            return -1;
        int start = body + 4;
        if (http.left(body).toLower().contains("transfer-encoding: chunked")) {
            const int line = http.indexOf("\r\n", start);
            if (line < 0)
                return -1;
            start = line + 2;
        }
        return http.size() >= start + 8 ? start : -1;
    }

    void Relaying(QTcpSocket *client)
    {
        auto *upstream = new QLocalSocket(client);
        upstream->connectToServer(m_scheduler);
        if (!upstream->waitForConnected(kBusyMachineMs)) {
            client->abort();
            return;
        }
        auto exchange = std::make_shared<Exchange>();
        connect(client, &QTcpSocket::readyRead, client, [this, client, upstream, exchange] {
            const QByteArray data = client->readAll();
            if (exchange->answering) {
                *exchange = {};
            }
            if (exchange->operation == 0) {
                exchange->request += data;
                const int ipp = IppStart(exchange->request);
                if (ipp >= 0)
                    exchange->operation = qFromBigEndian<quint16>(exchange->request.constData() + ipp + 2);
            }
            upstream->write(data);
            if (m_answer == LosingDocuments && exchange->operation == IPP_OP_SEND_DOCUMENT) {
                upstream->abort();
                client->abort();
            }
        });
        connect(upstream, &QLocalSocket::readyRead, client, [this, client, upstream, exchange] {
            QByteArray &answer = exchange->answer;
            answer += upstream->readAll();
            // "100 Continue" comes before the answer itself.
            while (answer.startsWith("HTTP/1.1 100") && answer.contains("\r\n\r\n")) {
                const int end = answer.indexOf("\r\n\r\n") + 4;
                client->write(answer.left(end));
                answer.remove(0, end);
            }
            const int ipp = exchange->answering ? -1 : IppStart(answer);
            if (ipp >= 0) {
                exchange->answering = true;
                const quint16 operation = exchange->operation;
                if (m_answer == Substituting && answer.at(ipp + 2) == 0 && answer.at(ipp + 3) == 0
                    && (operation == IPP_OP_CREATE_JOB || operation == IPP_OP_SEND_DOCUMENT))
                    answer[ipp + 3] = IPP_STATUS_OK_IGNORED_OR_SUBSTITUTED;
            }
            if (exchange->answering) {
                client->write(answer);
                answer.clear();
            }
        });
        connect(client, &QTcpSocket::disconnected, upstream, &QLocalSocket::disconnectFromServer);
        connect(upstream, &QLocalSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }

    QString m_scheduler;
    Answer m_answer;
    QTcpServer m_server;
    QTcpSocket m_queued;
    bool m_listening = false;
};

// What a print server answers is taken for what it means.
TEST_F(Printing, a_print_server_slow_to_connect_substituting_or_losing_the_document)
{
    struct Case {
        const char *name;
        Relay::Answer answer;
        bool slow;
        const char *message;  // none: printed
    } const cases[] = {
        {"slow to take the connection", Relay::Faithful, true, nullptr},
        {"substituting attributes", Relay::Substituting, false, nullptr},
        {"losing the document", Relay::LosingDocuments, false,
         "Errore di stampa\nil lavoro non è arrivato alla stampante\n"},
    };
    ASSERT_TRUE(scheduler.AddDefaultPdfQueue());
    Calculate(1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        scheduler.ClearJobs();
        Relay relay(scheduler.Path("cups.sock"), c.answer);
        ASSERT_TRUE(relay.Listening());
        ASSERT_TRUE(!c.slow || relay.Hold());
        {
            EnvironmentGuard server("CUPS_SERVER", relay.Server());
            QTest::mouseClick(Button("Command2"), Qt::LeftButton);
            if (c.slow)
                QTimer::singleShot(300, &relay, &Relay::Release);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Printing(); }, 60000));
        }
        if (!c.message) {
            EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
            EXPECT_FALSE(scheduler.WaitForJob().isEmpty()) << scheduler.Log().toStdString();
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith(QString::fromUtf8(c.message)))
            << messages.shown[0].text.toStdString();
        // Nothing of it is left waiting in the queue.
        const ToolRun waiting = RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o")});
        EXPECT_TRUE(waiting.ok && waiting.output.isEmpty()) << waiting.output.toStdString();
    }
}
#endif

class UnhelpfulPrintService : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        AppendRow(state, {10, 2, 36, kCosPhi09, 1, kElectronic});
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
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
    window->SetPrintBound(std::chrono::seconds(5));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(window->Printing());
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor) << "the user sees something is going on";
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);  // a second press sends nothing
    // The windows go on answering while the job is out; how long they may
    // stall is the print benchmark's figure.
    bool answered = false;
    QTimer::singleShot(0, window.get(), [&] { answered = window->Printing(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 60000)) << "the windows wait for the job";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Printing(); }, 60000));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Errore di stampa\nil servizio di stampa non risponde"));
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    spooler.Close();
}

TEST_F(UnhelpfulPrintService, closing_the_window_while_a_job_waits_ends_it)
{
    SilentSpooler spooler(Socket());
    ASSERT_TRUE(spooler.Listening());
    window->SetPrintBound(std::chrono::minutes(10));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spooler.Reached(); }, 60000)) << "the job never set out";
    window->close();
    window.reset();
    EXPECT_TRUE(messages.shown.empty());
#ifndef KORVAL_PRINTS_THROUGH_CUPS
    // Qt's hand-over cannot be cancelled and still waits on the print
    // service: the window went without waiting for it.
    EXPECT_FALSE(WaitForAbandonedJobs(std::chrono::milliseconds(0)));
#endif
    spooler.Close();
    EXPECT_TRUE(WaitForAbandonedJobs(std::chrono::seconds(60))) << "the job does not end on its own";
}

#ifdef KORVAL_PRINTS_THROUGH_CUPS
// Making the connection is the one wait CUPS's client does not cut short.
TEST_F(UnhelpfulPrintService, closing_the_window_while_the_connection_is_made_hands_the_job_over)
{
    Relay relay(Socket(), Relay::Faithful);
    ASSERT_TRUE(relay.Listening() && relay.Hold());
    EnvironmentGuard slow("CUPS_SERVER", relay.Server());
    window->SetPrintBound(std::chrono::minutes(10));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    window->close();
    window.reset();
    EXPECT_FALSE(WaitForAbandonedJobs(std::chrono::milliseconds(0)))
        << "the window waited for the job, or lost it";
    relay.Release();
    EXPECT_TRUE(QTest::qWaitFor([] { return WaitForAbandonedJobs(std::chrono::milliseconds(0)); }, 60000));
    EXPECT_TRUE(messages.shown.empty());
}

// Only CUPS itself tells a connection that breaks from one never made.
TEST_F(UnhelpfulPrintService, one_that_hangs_up_or_is_not_there_is_a_failure_with_a_reason)
{
    QLocalServer hangsUp;
    ASSERT_TRUE(hangsUp.listen(Socket()));
    QObject::connect(&hangsUp, &QLocalServer::newConnection, &hangsUp, [&] {
        while (QLocalSocket *peer = hangsUp.nextPendingConnection())
            peer->abort();
    });
    PickLanguage(1);
    PressPrint(*window);
    hangsUp.close();
    PressPrint(*window);
    // The program's words for the kind of failure, then the system's.
    const QString expected[] = {QStringLiteral("Printing failed\nthe job did not reach the printer\n"),
                                QStringLiteral("Printing failed\nthe print service cannot be reached\n")};
    ASSERT_EQ(messages.shown.size(), 2u);
    for (int i : {0, 1}) {
        const QString &text = messages.shown[i].text;
        EXPECT_TRUE(text.startsWith(expected[i])) << text.toStdString();
        EXPECT_GT(text.size(), expected[i].size()) << "with the reason";
        EXPECT_FALSE(text.endsWith(QLatin1String("Success"))) << "a reason that says nothing";
    }
}
#endif
#endif

}  // namespace
}  // namespace korval::test
