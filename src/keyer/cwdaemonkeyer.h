#pragma once

#include "keyer/cwdaemonprotocol.h"
#include "keyer/ports/portseams.h"
#include "keyer/textkeyer.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

// cwdaemon as a keyer: the text goes to the daemon in datagrams and the daemon times the Morse.
//
// How the characters are known to be sent, as found with cwdaemon 0.10.2: the daemon keeps ONE reply request.
// A reply request (<ESC>h + token) before each small text datagram replaces the one before it, and the daemon
// answers only when its queue runs dry, at the end of the last mark it had. While the text keeps coming, which is
// how the engine hands it over, only the last reply ever arrives; the earlier ones are lost. Characters queued
// behind one still sounding key after the usual gap, without an extra one, and keep the speed they were queued
// with. So each character is reckoned sent from the speed (the end of its last mark, dot units as in PARIS;
// cwdaemon's weighting keeps that timing), the last one handed over waits for the reply, which marks everything
// before its token sent. A reply overdue, or the port refused (nothing listens), is a daemon that does not
// answer. A blank answers too (after its silence), which makes the probe of open() key nothing.
class CwdaemonKeyer final : public TextKeyer {
public:
    using Clock = std::chrono::steady_clock;

    // The datagrams stay the caller's; the address is "host:port" (blank: localhost:6789).
    explicit CwdaemonKeyer(Datagrams* datagrams, const QString& address = QString());
    ~CwdaemonKeyer() override;

    QString name() const override { return QStringLiteral("cwdaemon"); }
    TextKeyerCapabilities capabilities() const override;
    TextKeyerOpenResult open(const TextKeyerSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void configure(const TextKeyerSettings& settings) override;
    void setSpeed(int wpm) override;
    void send(const QString& text) override;
    void abort() override;
    void setPtt(bool on) override;
    void setTune(bool on) override;

    void setAddress(const QString& address);
    // "cwdaemon nie odpowiada (host:port)"
    QString notAnsweringText() const;

    // How long open() waits for the daemon's answer.
    static constexpr std::chrono::milliseconds kProbeTimeout{1000};
    // A reset restarts the daemon's sound generator, which took about a second here; text sent after open()
    // waits for it.
    static constexpr std::chrono::milliseconds kResetTime{1000};
    // How late the end of the text may be reported beyond its reckoned end, plus a fifth of the reckoned span.
    static constexpr std::chrono::milliseconds kReplyMargin{1500};

private:
    struct Outstanding {
        QChar character;
        bool keyed = true;
        Clock::time_point due; // reckoned end of its last mark
        quint64 token = 0;     // the reply request it was sent under
    };

    void run();
    void onDatagram(const QByteArray& datagram);
    void onFailed();
    // With m_mutex held.
    QByteArray tokenText(quint64 token) const;
    std::chrono::nanoseconds unitLength() const;
    void sendLocked(const QByteArray& datagram);
    void dropOutstanding(bool broken); // with m_mutex held

    Datagrams* m_datagrams;
    Cwdaemon::Address m_address;
    quint32 m_instance;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    // Held while characters are reported, so an abort never has a character reported sent after it.
    std::recursive_mutex m_reportMutex;
    std::thread m_thread;
    bool m_quit = false;
    bool m_open = false;
    bool m_probing = false; // open() waits for the probe's reply and reports a refusal itself
    bool m_refused = false; // the port was refused since the last look
    TextKeyerSettings m_settings;
    int m_wpm = 30;

    std::deque<Outstanding> m_outstanding;
    quint64 m_lastToken = 0;
    quint64 m_tokenFloor = 0; // replies to tokens up to this one are of aborted text
    std::optional<quint64> m_replied;
    Clock::time_point m_queueEnd;                     // reckoned end of what the daemon has queued
    std::optional<Clock::time_point> m_replyDeadline; // while text is outstanding
    Clock::time_point m_spanStart;
    bool m_failureReported = false;
    std::optional<Clock::time_point> m_tuneRenewal;
};
