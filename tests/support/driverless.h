#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace korval::test {

// A driverless printer as an IPP Everywhere printer on the network is one:
// CUPS's own ippeveprinter on a loopback port, taking PDF and raster. It
// announces itself through DNS-SD, so it gets a message bus of its own.
class DriverlessPrinter {
public:
    DriverlessPrinter();
    ~DriverlessPrinter();
    DriverlessPrinter(const DriverlessPrinter &) = delete;
    DriverlessPrinter &operator=(const DriverlessPrinter &) = delete;

    bool Running() const { return m_running; }
    QString Uri() const { return QStringLiteral("ipp://localhost:%1/ipp/print").arg(m_port); }
    QString Log() { return QString::fromUtf8(m_printer.readAll()); }

    // The first document the printer kept.
    QString WaitForJob() const;

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_printer;
    quint16 m_port = 0;
    bool m_running = false;
};

}  // namespace korval::test
