#include "keyer/ports/ppdevparallelport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if __has_include(<linux/ppdev.h>)
#include <linux/parport.h>
#include <linux/ppdev.h>
#define KVR_HAVE_PPDEV 1
#endif

PpdevParallelPort::PpdevParallelPort(QString procRoot, QString devRoot)
    : m_procRoot(std::move(procRoot)), m_devRoot(std::move(devRoot)) {}

PpdevParallelPort::~PpdevParallelPort() {
    closeDevice();
}

QList<PpdevParallelPort::Device> PpdevParallelPort::devices(const QString& procRoot, const QString& devRoot) {
    QList<Device> found;
    const QDir root(procRoot);
    const QStringList ports = root.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& port : ports) {
        QFile file(root.filePath(port + QStringLiteral("/base-addr")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // "888\t1912": the base address first, in decimal.
        const QStringList numbers =
            QString::fromLatin1(file.readAll()).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        bool ok = false;
        const int base = numbers.isEmpty() ? 0 : numbers.first().toInt(&ok);
        if (ok)
            found.append({QDir(devRoot).filePath(port), base});
    }
    return found;
}

QString PpdevParallelPort::findDevice(int base, const QString& procRoot, const QString& devRoot) {
    for (const Device& device : devices(procRoot, devRoot)) {
        if (device.base == base)
            return device.path;
    }
    return {};
}

bool PpdevParallelPort::ensureOpen(int base) {
    if (m_fd >= 0 && m_base == base)
        return true;
    closeDevice();
#ifdef KVR_HAVE_PPDEV
    const QString device = findDevice(base, m_procRoot, m_devRoot);
    if (device.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (ioctl(fd, PPCLAIM) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_base = base;
    return true;
#else
    Q_UNUSED(base);
    return false;
#endif
}

void PpdevParallelPort::closeDevice() {
#ifdef KVR_HAVE_PPDEV
    if (m_fd >= 0) {
        ioctl(m_fd, PPRELEASE);
        ::close(m_fd);
    }
#endif
    m_fd = -1;
    m_base = -1;
}

bool PpdevParallelPort::out(int address, quint8 value) {
    std::lock_guard lock(m_mutex);
    if (!ensureOpen(address - 2))
        return false;
#ifdef KVR_HAVE_PPDEV
    unsigned char byte = value;
    return ioctl(m_fd, PPWCONTROL, &byte) == 0;
#else
    Q_UNUSED(value);
    return false;
#endif
}

std::optional<quint8> PpdevParallelPort::in(int address) {
    std::lock_guard lock(m_mutex);
    if (!ensureOpen(address - 2))
        return std::nullopt;
#ifdef KVR_HAVE_PPDEV
    unsigned char byte = 0;
    if (ioctl(m_fd, PPRCONTROL, &byte) != 0)
        return std::nullopt;
    return quint8(byte);
#else
    return std::nullopt;
#endif
}
