#include "keyer/cwdaemonkeyer.h"

#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace {

// The probe is keyed at the top speed, so its blank is over in a few tens of milliseconds.
constexpr int kProbeSpeed = Cwdaemon::kMaxSpeed;
// A tune request lasts at most ten seconds at the daemon; it is renewed before it runs out.
constexpr std::chrono::milliseconds kTuneRenewal{9500};

} // namespace

CwdaemonKeyer::CwdaemonKeyer(Datagrams* datagrams, const QString& address)
    : m_datagrams(datagrams), m_instance(QRandomGenerator::global()->generate()) {
    setAddress(address);
    m_datagrams->datagramReceived = [this](const QByteArray& datagram) { onDatagram(datagram); };
    m_datagrams->failed = [this](const QString&) { onFailed(); };
    m_thread = std::thread([this] { run(); });
}

CwdaemonKeyer::~CwdaemonKeyer() {
    close();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
    m_datagrams->datagramReceived = nullptr;
    m_datagrams->failed = nullptr;
}

TextKeyerCapabilities CwdaemonKeyer::capabilities() const {
    TextKeyerCapabilities c;
    c.echo = false;
    c.paddle = false;
    c.speedPot = false;
    return c;
}

void CwdaemonKeyer::setAddress(const QString& address) {
    std::lock_guard lock(m_mutex);
    m_address = Cwdaemon::parseAddress(address);
    if (!m_address.ok && m_address.host.isEmpty())
        m_address.host = address.trimmed();
}

QString CwdaemonKeyer::notAnsweringText() const {
    return QStringLiteral("cwdaemon nie odpowiada (%1)").arg(m_address.text());
}

QByteArray CwdaemonKeyer::tokenText(quint64 token) const {
    return QByteArray::number(m_instance, 16) + '-' + QByteArray::number(token);
}

std::chrono::nanoseconds CwdaemonKeyer::unitLength() const {
    return std::chrono::microseconds(1'200'000 / std::clamp(m_wpm, Cwdaemon::kMinSpeed, Cwdaemon::kMaxSpeed));
}

void CwdaemonKeyer::sendLocked(const QByteArray& datagram) {
    if (m_open)
        m_datagrams->send(datagram);
}

TextKeyerOpenResult CwdaemonKeyer::open(const TextKeyerSettings& settings) {
    close();
    const auto reportFailure = [this](const QString& text) {
        if (failed)
            failed(text);
        return TextKeyerOpenResult{false, text};
    };
    if (!m_address.ok)
        return reportFailure(notAnsweringText());
    const SerialOpenResult opened = m_datagrams->open(m_address.host, m_address.port);
    if (!opened.ok)
        return reportFailure(QStringLiteral("%1: %2").arg(notAnsweringText(), opened.error));

    std::unique_lock lock(m_mutex);
    m_open = true;
    m_probing = true;
    m_refused = false;
    m_failureReported = false;
    m_outstanding.clear();
    m_replied.reset();
    m_tokenFloor = m_lastToken;
    const quint64 probe = ++m_lastToken;
    sendLocked(Cwdaemon::abort());
    sendLocked(Cwdaemon::speed(kProbeSpeed));
    sendLocked(Cwdaemon::replyRequest(tokenText(probe)));
    sendLocked(QByteArrayLiteral(" "));
    const auto deadline = Clock::now() + kProbeTimeout;
    while (!(m_replied && *m_replied >= probe) && !m_refused && Clock::now() < deadline)
        m_wake.wait_until(lock, deadline);
    m_probing = false;
    if (!(m_replied && *m_replied >= probe)) {
        m_open = false;
        m_refused = false;
        m_failureReported = true;
        lock.unlock();
        m_datagrams->close();
        return reportFailure(notAnsweringText());
    }
    // The reset clears what another program may have left (word mode, its speed); the daemon then takes the
    // settings.
    sendLocked(Cwdaemon::reset());
    m_settings = settings;
    m_wpm = settings.wpm;
    for (const QByteArray& request : Cwdaemon::settingsRequests(settings))
        sendLocked(request);
    m_queueEnd = Clock::now() + kResetTime;
    return {true, QStringLiteral("cwdaemon %1").arg(m_address.text())};
}

void CwdaemonKeyer::close() {
    {
        std::lock_guard report(m_reportMutex);
        std::lock_guard lock(m_mutex);
        if (!m_open)
            return;
        sendLocked(Cwdaemon::abort());
        sendLocked(Cwdaemon::ptt(false));
        m_open = false;
        m_tuneRenewal.reset();
        dropOutstanding(true);
    }
    m_datagrams->close();
}

bool CwdaemonKeyer::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

void CwdaemonKeyer::configure(const TextKeyerSettings& settings) {
    std::lock_guard lock(m_mutex);
    m_settings = settings;
    m_wpm = settings.wpm;
    for (const QByteArray& request : Cwdaemon::settingsRequests(settings))
        sendLocked(request);
}

void CwdaemonKeyer::setSpeed(int wpm) {
    // Characters the daemon has queued already keep their speed; the engine hands over only a couple ahead.
    std::lock_guard lock(m_mutex);
    m_wpm = wpm;
    m_settings.wpm = wpm;
    sendLocked(Cwdaemon::speed(wpm));
}

void CwdaemonKeyer::send(const QString& text) {
    if (text.isEmpty())
        return;
    std::lock_guard lock(m_mutex);
    addPending(int(text.size()));
    if (!m_open) {
        clearPending(true);
        return;
    }
    const auto unit = unitLength();
    const auto now = Clock::now();
    Clock::time_point start = std::max(now, m_queueEnd);
    if (m_outstanding.empty())
        m_spanStart = start;
    Clock::time_point lastDue = m_outstanding.empty() ? now : m_outstanding.back().due;
    std::vector<std::pair<quint64, QByteArray>> pieces;
    for (QChar c : text.toUpper()) {
        if (!Cwdaemon::keys(c)) {
            // Left out; reported sent as soon as what was handed over before it.
            m_outstanding.push_back({c, false, lastDue, pieces.empty() ? m_lastToken : pieces.back().first});
            continue;
        }
        if (pieces.empty() || pieces.back().second.size() >= Cwdaemon::kMaxTextBytes)
            pieces.emplace_back(++m_lastToken, QByteArray());
        pieces.back().second += Cwdaemon::textByte(c);
        const Cwdaemon::CharacterUnits units = Cwdaemon::unitsOf(c);
        const Clock::time_point end = start + (units.marks + units.after) * unit;
        lastDue = units.marks > 0 ? start + units.marks * unit : end;
        m_outstanding.push_back({c, true, lastDue, pieces.back().first});
        start = end;
    }
    if (!pieces.empty()) {
        m_queueEnd = start;
        m_replyDeadline = m_queueEnd + kReplyMargin + (m_queueEnd - m_spanStart) / 5;
    }
    for (const auto& [token, datagram] : pieces) {
        sendLocked(Cwdaemon::replyRequest(tokenText(token)));
        sendLocked(datagram);
    }
    m_wake.notify_all();
}

void CwdaemonKeyer::abort() {
    // The request goes first: the key goes up at the daemon before any bookkeeping here.
    if (isOpen())
        m_datagrams->send(Cwdaemon::abort());
    std::lock_guard report(m_reportMutex);
    std::lock_guard lock(m_mutex);
    m_tuneRenewal.reset();
    dropOutstanding(false);
}

void CwdaemonKeyer::dropOutstanding(bool broken) {
    m_outstanding.clear();
    m_tokenFloor = m_lastToken;
    m_replied.reset();
    m_replyDeadline.reset();
    m_queueEnd = Clock::now();
    clearPending(broken);
}

void CwdaemonKeyer::setPtt(bool on) {
    std::lock_guard lock(m_mutex);
    sendLocked(Cwdaemon::ptt(on));
}

void CwdaemonKeyer::setTune(bool on) {
    std::lock_guard lock(m_mutex);
    if (on) {
        sendLocked(Cwdaemon::tune(Cwdaemon::kMaxTuneSeconds));
        m_tuneRenewal = Clock::now() + kTuneRenewal;
    } else {
        m_tuneRenewal.reset();
        sendLocked(Cwdaemon::abort());
    }
    m_wake.notify_all();
}

void CwdaemonKeyer::onDatagram(const QByteArray& datagram) {
    const std::optional<QByteArray> reply = Cwdaemon::replyToken(datagram);
    if (!reply)
        return;
    std::lock_guard lock(m_mutex);
    const QByteArray prefix = QByteArray::number(m_instance, 16) + '-';
    if (!reply->startsWith(prefix))
        return; // another program's reply, or one of an earlier run
    bool ok = false;
    const quint64 token = reply->mid(prefix.size()).toULongLong(&ok);
    if (!ok || token <= m_tokenFloor || token > m_lastToken)
        return;
    m_replied = std::max(m_replied.value_or(0), token);
    m_failureReported = false; // the daemon answers again
    m_wake.notify_all();
}

void CwdaemonKeyer::onFailed() {
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return;
    m_refused = true;
    m_wake.notify_all();
}

void CwdaemonKeyer::run() {
    for (;;) {
        std::unique_lock report(m_reportMutex);
        std::unique_lock lock(m_mutex);
        if (m_quit)
            return;
        const auto now = Clock::now();
        std::vector<QChar> sentNow;
        bool reportFailure = false;

        const bool overdue = !m_outstanding.empty() && m_replyDeadline && now >= *m_replyDeadline;
        if ((m_refused && !m_probing) || (overdue && m_open)) {
            m_refused = false;
            dropOutstanding(true);
            if (!m_failureReported) {
                m_failureReported = true;
                reportFailure = true;
            }
        }
        const auto laterKeyed = [this](std::size_t from) {
            return std::any_of(m_outstanding.begin() + std::ptrdiff_t(from), m_outstanding.end(),
                               [](const Outstanding& o) { return o.keyed; });
        };
        while (!m_outstanding.empty()) {
            const Outstanding& front = m_outstanding.front();
            const bool replied = m_replied && front.token <= *m_replied;
            const bool reckoned = front.due <= now && (!front.keyed || laterKeyed(1));
            if (!replied && !reckoned)
                break;
            sentNow.push_back(front.character);
            m_outstanding.pop_front();
        }
        if (m_outstanding.empty())
            m_replyDeadline.reset();
        if (m_tuneRenewal && now >= *m_tuneRenewal) {
            sendLocked(Cwdaemon::tune(Cwdaemon::kMaxTuneSeconds));
            *m_tuneRenewal += kTuneRenewal;
        }

        if (sentNow.empty() && !reportFailure) {
            report.unlock();
            std::optional<Clock::time_point> wake = m_replyDeadline;
            const auto earlier = [&wake](Clock::time_point t) { wake = wake ? std::min(*wake, t) : t; };
            if (!m_outstanding.empty() && (!m_outstanding.front().keyed || laterKeyed(1)))
                earlier(m_outstanding.front().due);
            if (m_tuneRenewal)
                earlier(*m_tuneRenewal);
            if (wake)
                m_wake.wait_until(lock, *wake);
            else
                m_wake.wait(lock);
            continue;
        }
        const QString failureText = notAnsweringText();
        lock.unlock();
        for (QChar c : sentNow)
            reportSent(c);
        if (reportFailure && failed)
            failed(failureText);
    }
}
