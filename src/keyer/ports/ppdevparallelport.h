#pragma once

#include "keyer/ports/portseams.h"

#include <QList>

#include <mutex>

// The parallel port through Linux ppdev: the /dev/parportN whose base address is the chosen one is claimed
// and its control register written with PPWCONTROL, so the bytes reach the register as given, without root
// rights or direct port I/O. Only the control register (base + 2) is reachable; other addresses fail.
class PpdevParallelPort final : public ParallelPortIo {
public:
    explicit PpdevParallelPort(QString procRoot = QStringLiteral("/proc/sys/dev/parport"),
                               QString devRoot = QStringLiteral("/dev"));
    ~PpdevParallelPort() override;

    bool out(int address, quint8 value) override;
    std::optional<quint8> in(int address) override;

    // The device whose base address is base ("/dev/parport0"), found through procRoot; empty when none.
    static QString findDevice(int base, const QString& procRoot, const QString& devRoot);

    struct Device {
        QString path; // "/dev/parport0"
        int base = 0;
    };
    // The parallel ports the system has, with their base addresses.
    static QList<Device> devices(const QString& procRoot = QStringLiteral("/proc/sys/dev/parport"),
                                 const QString& devRoot = QStringLiteral("/dev"));

private:
    bool ensureOpen(int base);
    void closeDevice();

    QString m_procRoot;
    QString m_devRoot;
    std::mutex m_mutex;
    int m_fd = -1;
    int m_base = -1;
};
