#include "realtimekitclient.h"

#include <QDBusVariant>
#include <QDeadlineTimer>

#ifdef __linux__
#include <sys/resource.h>
#endif

#include <algorithm>

namespace {

const QString kService = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString kPath = QStringLiteral("/org/freedesktop/RealtimeKit1");
const QString kInterface = QStringLiteral("org.freedesktop.RealtimeKit1");

// The service refuses a process whose real-time threads could run unlimited without blocking.
bool limitRealtimeCpu(qint64 maxMicroseconds) {
#ifdef __linux__
    if (maxMicroseconds <= 0)
        return false;
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0)
        return false;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= rlim_t(maxMicroseconds))
        return true;
    limit.rlim_cur = limit.rlim_max = rlim_t(maxMicroseconds);
    return setrlimit(RLIMIT_RTTIME, &limit) == 0;
#else
    Q_UNUSED(maxMicroseconds);
    return false;
#endif
}

} // namespace

RealtimeKitClient::RealtimeKitClient(const QDBusConnection& bus, std::chrono::milliseconds timeout)
    : m_bus(bus), m_timeout(timeout) {}

bool RealtimeKitClient::makeThreadRealtime(qint64 threadId, int priority) {
    const QDeadlineTimer budget(m_timeout);
    const std::optional<QVariant> maxPriority = property(QStringLiteral("MaxRealtimePriority"), budget);
    if (!maxPriority || maxPriority->toInt() < 1)
        return false;
    const std::optional<QVariant> maxCpu = property(QStringLiteral("RTTimeUSecMax"), budget);
    if (!maxCpu || !limitRealtimeCpu(maxCpu->toLongLong()))
        return false;
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("MakeThreadRealtime"));
    message << QVariant::fromValue(quint64(threadId))
            << QVariant::fromValue(quint32(std::clamp(priority, 1, maxPriority->toInt())));
    return call(message, budget);
}

bool RealtimeKitClient::makeThreadHighPriority(qint64 threadId, int nice) {
    const QDeadlineTimer budget(m_timeout);
    const std::optional<QVariant> minNice = property(QStringLiteral("MinNiceLevel"), budget);
    if (!minNice)
        return false;
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("MakeThreadHighPriority"));
    message << QVariant::fromValue(quint64(threadId)) << QVariant::fromValue(qint32(std::max(nice, minNice->toInt())));
    return call(message, budget);
}

std::optional<QVariant> RealtimeKitClient::property(const QString& name, const QDeadlineTimer& budget) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message << kInterface << name;
    const qint64 left = budget.remainingTime();
    if (left <= 0 || !m_bus.isConnected())
        return std::nullopt;
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, int(left));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    if (!value.isValid())
        return std::nullopt;
    return value;
}

bool RealtimeKitClient::call(const QDBusMessage& message, const QDeadlineTimer& budget) {
    const qint64 left = budget.remainingTime();
    if (left <= 0 || !m_bus.isConnected())
        return false;
    return m_bus.call(message, QDBus::Block, int(left)).type() == QDBusMessage::ReplyMessage;
}
