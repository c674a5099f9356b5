#include "realtimekitclient.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QString kServiceName = QStringLiteral("org.freedesktop.RealtimeKit1");

// RealtimeKit as rtkit-daemon presents it, on the test's own bus: its limits as properties, its two requests
// logged with the caller's RLIMIT_RTTIME at that moment, each answered, refused or never answered.
class FakeRealtimeKit : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.RealtimeKit1")
    Q_PROPERTY(int MaxRealtimePriority READ maxRealtimePriority)
    Q_PROPERTY(qlonglong RTTimeUSecMax READ rtTimeUSecMax)
    Q_PROPERTY(int MinNiceLevel READ minNiceLevel)
public:
    enum class Answer { Grant, Refuse, Silence };
    int maxRealtimePriority() const { return 10; }
    qlonglong rtTimeUSecMax() const { return 200000; }
    int minNiceLevel() const { return -15; }

    Answer answer = Answer::Grant;
    QStringList calls;
    rlim_t rtTimeHardLimitAtCall = 0;

public slots:
    void MakeThreadRealtime(quint64 thread, quint32 priority) {
        rlimit limit{};
        getrlimit(RLIMIT_RTTIME, &limit);
        rtTimeHardLimitAtCall = limit.rlim_max;
        calls << QStringLiteral("realtime %1 %2").arg(thread).arg(priority);
        reply();
    }
    void MakeThreadHighPriority(quint64 thread, int priority) {
        calls << QStringLiteral("high priority %1 %2").arg(thread).arg(priority);
        reply();
    }

private:
    void reply() {
        if (answer == Answer::Silence)
            setDelayedReply(true);
        else if (answer == Answer::Refuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Operation not permitted"));
    }
};

} // namespace

class TestRealtimeKit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_address = startBus(m_dir.path());
        QVERIFY2(!m_address.isEmpty(), "dbus-daemon (Debian package dbus-daemon) is needed");
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
        QVERIFY(service.isConnected());
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/RealtimeKit1"), &m_kit,
                                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        QVERIFY(service.registerService(kServiceName));
        m_client = std::make_unique<RealtimeKitClient>(
            QDBusConnection::connectToBus(m_address, QStringLiteral("client")), 300ms);
    }

    void cleanupTestCase() {
        m_client.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        if (m_daemon > 0) {
            kill(m_daemon, SIGTERM);
            waitpid(m_daemon, nullptr, 0);
        }
    }

    void init() {
        m_kit.answer = FakeRealtimeKit::Answer::Grant;
        m_kit.calls.clear();
    }

    // The priority and nice value are kept within the service's limits, and RLIMIT_RTTIME is within its maximum
    // before real-time is asked for.
    void requestsStayWithinTheServicesLimits() {
        QVERIFY(onSenderThread([&] { return m_client->makeThreadRealtime(4242, 20); }));
        QVERIFY(onSenderThread([&] { return m_client->makeThreadHighPriority(4242, -20); }));
        QVERIFY(onSenderThread([&] { return m_client->makeThreadHighPriority(77, -10); }));
        QCOMPARE(m_kit.calls, (QStringList{QStringLiteral("realtime 4242 10"), QStringLiteral("high priority 4242 -15"),
                                           QStringLiteral("high priority 77 -10")}));
        QVERIFY(m_kit.rtTimeHardLimitAtCall != RLIM_INFINITY);
        QVERIFY(m_kit.rtTimeHardLimitAtCall <= rlim_t(m_kit.rtTimeUSecMax()));
    }

    // A refusal, a service that never answers (the timeout, not a hang), no service and no bus all say no.
    void everyFailureIsARefusal() {
        m_kit.answer = FakeRealtimeKit::Answer::Refuse;
        QVERIFY(!onSenderThread([&] { return m_client->makeThreadRealtime(4242, 20); }));
        QVERIFY(!onSenderThread([&] { return m_client->makeThreadHighPriority(4242, -10); }));
        m_kit.answer = FakeRealtimeKit::Answer::Silence;
        QVERIFY(!onSenderThread([&] { return m_client->makeThreadRealtime(4242, 20); }));
        QCOMPARE(m_kit.calls.size(), 3);

        QDBusConnection service(QStringLiteral("service"));
        QVERIFY(service.unregisterService(kServiceName));
        QVERIFY(!onSenderThread([&] { return m_client->makeThreadRealtime(4242, 20); }));
        QVERIFY(service.registerService(kServiceName));
        const QString noBus = QStringLiteral("unix:path=%1/no-bus").arg(m_dir.path());
        RealtimeKitClient nowhere(QDBusConnection::connectToBus(noBus, QStringLiteral("none")), 300ms);
        QVERIFY(!onSenderThread([&] { return nowhere.makeThreadHighPriority(4242, -10); }));
        QCOMPARE(m_kit.calls.size(), 3);
    }

private:
    // A bus of the test's own; its address once it listens, empty when the daemon did not start. Spawned rather
    // than forked (QProcess): ThreadSanitizer stops a process that starts threads after a fork. Should the test
    // die, the daemon goes after ten minutes and never holds CTest's output open.
    QString startBus(const QString& folder) {
        int out[2];
        if (pipe(out) != 0)
            return {};
        const QByteArray address = QStringLiteral("--address=unix:path=%1/bus").arg(folder).toLocal8Bit();
        const char* argv[] = {"timeout",           "600",  "dbus-daemon", "--session", "--nofork", "--print-address=1",
                              address.constData(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawnp(&m_daemon, "timeout", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        QByteArray line;
        char c = 0;
        while (spawned == 0 && read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        if (spawned != 0)
            m_daemon = 0;
        return QString::fromLocal8Bit(line).trimmed();
    }

    // The request from a thread of its own, as the sender makes it, while this thread serves the fake service.
    static bool onSenderThread(const std::function<bool()>& request) {
        bool granted = false;
        std::atomic<bool> done{false};
        std::thread sender([&] {
            granted = request();
            done = true;
        });
        const bool answered = QTest::qWaitFor([&] { return done.load(); }, 10000);
        sender.join();
        return answered && granted;
    }

    QTemporaryDir m_dir;
    pid_t m_daemon = 0;
    QString m_address;
    FakeRealtimeKit m_kit;
    std::unique_ptr<RealtimeKitClient> m_client;
};

QTEST_GUILESS_MAIN(TestRealtimeKit)
#include "tst_realtimekit.moc"
