#include "winkeyeremulator.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Parameter bytes after each command byte below 0x20 (host open and the other admin commands are handled apart).
int parameterCount(quint8 command) {
    static constexpr int counts[0x20] = {
        1, 1, 1, 1, 2, 3, 1, 0, 0, 1, 0, 1, 1, 1, 1, 15, // 0x00..0x0F
        1, 1, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,  // 0x10..0x1F
    };
    return counts[command];
}

} // namespace

WinkeyerEmulator::WinkeyerEmulator(int capacity, int xoffThreshold, int version)
    : m_capacity(capacity), m_xoffThreshold(xoffThreshold), m_version(version) {}

WinkeyerEmulator::~WinkeyerEmulator() {
    unplug();
    for (int fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool WinkeyerEmulator::start(QString* error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 || pipe(m_wake) != 0) {
        if (error)
            *error = QStringLiteral("no pseudo-terminal");
        return false;
    }
    m_slaveName = QString::fromLocal8Bit(ptsname(m_master));
    // Raw from the start, so nothing the keyer writes is echoed back by the terminal layer.
    const int slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
    }
    m_reader = std::thread([this] { run(); });
    return true;
}

void WinkeyerEmulator::run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point nextKey = Clock::now();
    while (!m_stop) {
        int timeout = -1;
        const int interval = m_autoKeyMs;
        if (interval > 0) {
            const auto now = Clock::now();
            if (now >= nextKey) {
                keyNext(1);
                nextKey = now + std::chrono::milliseconds(interval);
            }
            timeout = int(std::chrono::ceil<std::chrono::milliseconds>(nextKey - now).count());
            timeout = std::clamp(timeout, 0, interval);
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        // Without a keyer on the other side the master reports a hang-up; wait on the wake pipe alone then.
        const int ready = ::poll(fds, 2, timeout);
        if (ready <= 0)
            continue;
        if (fds[1].revents & POLLIN) {
            char drop[16];
            [[maybe_unused]] const ssize_t n = ::read(m_wake[0], drop, sizeof drop);
        }
        if (fds[0].revents & POLLIN) {
            char bytes[256];
            const ssize_t n = ::read(m_master, bytes, sizeof bytes);
            std::lock_guard lock(m_mutex);
            for (ssize_t i = 0; i < n; ++i)
                parse(quint8(bytes[i]));
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            pollfd wake = {m_wake[0], POLLIN, 0};
            ::poll(&wake, 1, timeout < 0 ? 5 : std::min(timeout, 5));
        }
    }
}

void WinkeyerEmulator::parse(quint8 byte) {
    if (m_pending.isEmpty()) {
        if (byte >= 0x20) {
            command(QByteArray(1, char(byte)));
            return;
        }
        m_pending.append(char(byte));
        if (parameterCount(byte) == 0) {
            command(m_pending);
            m_pending.clear();
        }
        return;
    }
    m_pending.append(char(byte));
    const quint8 first = quint8(m_pending.at(0));
    int needed = 1 + parameterCount(first);
    if (first == 0x00 && m_pending.size() >= 2) {
        const quint8 sub = quint8(m_pending.at(1));
        needed = (sub == 0x00 || sub == 0x04 || sub == 0x0E) ? 3 : 2;
    }
    if (m_pending.size() >= needed) {
        command(m_pending);
        m_pending.clear();
    }
}

void WinkeyerEmulator::command(const QByteArray& bytes) {
    m_commands.append({bytes, std::chrono::steady_clock::now()});
    const quint8 first = quint8(bytes.at(0));
    if (first >= 0x20) {
        m_text.append(bytes);
        if (m_buffer.size() >= m_capacity) {
            ++m_overruns;
            return;
        }
        m_buffer.append(bytes);
        m_maxHeld = std::max(m_maxHeld, int(m_buffer.size()));
        if (!m_xoff && m_buffer.size() >= m_xoffThreshold) {
            m_xoff = true;
            ++m_xoffRaised;
        }
        sendStatusLocked();
        return;
    }
    switch (first) {
    case 0x00:
        if (quint8(bytes.at(1)) == 0x02) {
            m_hostOpen = true;
            writeLocked(QByteArray(1, char(m_version)));
        } else if (quint8(bytes.at(1)) == 0x03) {
            m_hostOpen = false;
        }
        break;
    case 0x0A:
        m_buffer.clear();
        m_xoff = false;
        sendStatusLocked();
        break;
    case 0x0E:
        m_mode = quint8(bytes.at(1));
        break;
    case 0x15:
        m_lastStatus = -1;
        sendStatusLocked();
        break;
    default:
        break;
    }
}

void WinkeyerEmulator::keyNext(int n) {
    std::lock_guard lock(m_mutex);
    keyLocked(n);
}

void WinkeyerEmulator::keyLocked(int n) {
    for (int i = 0; i < n && !m_buffer.isEmpty(); ++i) {
        const char c = m_buffer.at(0);
        m_buffer.remove(0, 1);
        m_echoed.append(c);
        if (m_mode & 0x04)
            writeLocked(QByteArray(1, c));
    }
    if (m_buffer.isEmpty())
        m_xoff = false;
    sendStatusLocked();
}

void WinkeyerEmulator::setAutoKey(int intervalMs) {
    m_autoKeyMs = intervalMs;
    if (m_wake[1] >= 0) [[maybe_unused]]
        const ssize_t n = ::write(m_wake[1], "w", 1);
}

void WinkeyerEmulator::touchPaddle() {
    std::lock_guard lock(m_mutex);
    m_buffer.clear();
    m_xoff = false;
    m_breakIn = true;
    sendStatusLocked();
    m_breakIn = false;
    sendStatusLocked();
}

void WinkeyerEmulator::turnSpeedPot(int value) {
    std::lock_guard lock(m_mutex);
    writeLocked(QByteArray(1, char(0x80 | (value & 0x3F))));
}

void WinkeyerEmulator::forceXoff(bool on) {
    std::lock_guard lock(m_mutex);
    m_forcedXoff = on;
    sendStatusLocked();
}

void WinkeyerEmulator::sendStatusLocked() {
    const int status =
        0xC0 | ((m_xoff || m_forcedXoff) ? 0x01 : 0) | (m_breakIn ? 0x02 : 0) | (m_buffer.isEmpty() ? 0 : 0x04);
    if (status == m_lastStatus)
        return;
    m_lastStatus = status;
    writeLocked(QByteArray(1, char(status)));
}

void WinkeyerEmulator::writeLocked(const QByteArray& bytes) {
    if (m_silent || m_master < 0)
        return;
    [[maybe_unused]] const ssize_t n = ::write(m_master, bytes.constData(), size_t(bytes.size()));
}

void WinkeyerEmulator::unplug() {
    if (m_reader.joinable()) {
        m_stop = true;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], "q", 1);
        m_reader.join();
    }
    std::lock_guard lock(m_mutex);
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

QList<WinkeyerEmulator::Command> WinkeyerEmulator::commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

QByteArray WinkeyerEmulator::textReceived() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

QByteArray WinkeyerEmulator::echoed() const {
    std::lock_guard lock(m_mutex);
    return m_echoed;
}

int WinkeyerEmulator::held() const {
    std::lock_guard lock(m_mutex);
    return int(m_buffer.size());
}

int WinkeyerEmulator::maxHeld() const {
    std::lock_guard lock(m_mutex);
    return m_maxHeld;
}

int WinkeyerEmulator::overruns() const {
    std::lock_guard lock(m_mutex);
    return m_overruns;
}

bool WinkeyerEmulator::hostOpen() const {
    std::lock_guard lock(m_mutex);
    return m_hostOpen;
}

int WinkeyerEmulator::xoffRaised() const {
    std::lock_guard lock(m_mutex);
    return m_xoffRaised;
}

quint8 WinkeyerEmulator::mode() const {
    std::lock_guard lock(m_mutex);
    return m_mode;
}

int WinkeyerEmulator::indexOf(const QByteArray& bytes, int from) const {
    const QList<Command> all = commands();
    for (int i = std::max(from, 0); i < all.size(); ++i) {
        if (all.at(i).bytes == bytes)
            return i;
    }
    return -1;
}
