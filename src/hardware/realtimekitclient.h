#pragma once

#include "keyer/senderscheduling.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include <chrono>
#include <optional>

class QDeadlineTimer;

// RealtimeKit (rtkit-daemon) on the system bus. Each request, with the reads of the service's limits before it,
// gets one answer within the timeout or counts as refused, so the sender never waits longer than that. Real-time
// is asked for only after RLIMIT_RTTIME is within the service's maximum, as the service demands.
class RealtimeKitClient final : public RealtimeKit {
public:
    static constexpr std::chrono::milliseconds kTimeout{200};
    RealtimeKitClient() : RealtimeKitClient(QDBusConnection::systemBus(), kTimeout) {}
    // Another bus (the tests' own) or timeout.
    RealtimeKitClient(const QDBusConnection& bus, std::chrono::milliseconds timeout);

    bool makeThreadRealtime(qint64 threadId, int priority) override;
    bool makeThreadHighPriority(qint64 threadId, int nice) override;

private:
    std::optional<QVariant> property(const QString& name, const QDeadlineTimer& budget);
    bool call(const QDBusMessage& message, const QDeadlineTimer& budget);

    QDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
};
