#pragma once

// Print services as the program may meet them, in front of or instead of
// the tests' own scheduler.

#include <QLocalServer>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

#include <memory>
#include <vector>

#include "tests/support/print_service.h"

namespace korval::test {

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

// A print server on the network, as the program meets one: a TCP port in
// front of the private scheduler, relaying each connection to it, and able
// to answer as such servers do where CUPS itself never would.
class Relay : public QObject {
    Q_OBJECT

public:
    enum Answer {
        Faithful,
        // Job creation and documents answered
        // "successful-ok-ignored-or-substituted-attributes", as driverless
        // printers commonly answer, or
        // "successful-ok-conflicting-attributes", as others do.
        Substituting,
        Conflicting,
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
    // IPP's codes (RFC 8011) for the operations and the answer it changes.
    static constexpr quint16 kCreateJob = 0x0005, kSendDocument = 0x0006;
    static constexpr char kOkIgnoredOrSubstituted = 0x01, kOkConflicting = 0x02;

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
            if (m_answer == LosingDocuments && exchange->operation == kSendDocument) {
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
                if ((m_answer == Substituting || m_answer == Conflicting) && answer.at(ipp + 2) == 0
                    && answer.at(ipp + 3) == 0 && (operation == kCreateJob || operation == kSendDocument))
                    answer[ipp + 3] = m_answer == Substituting ? kOkIgnoredOrSubstituted : kOkConflicting;
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

}  // namespace korval::test
