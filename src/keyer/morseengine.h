#pragma once

#include "keyer/keyerconfig.h"
#include "keyer/keyertime.h"
#include "keyer/messagebuffers.h"
#include "keyer/morsetiming.h"
#include "keyer/outgoingqueue.h"
#include "keyer/senderscheduling.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class KeyerEntry;
class KeyingInterface;
class MorseEngine;
class TextKeyer;

// The sender thread of one transmission or keying test.
class MorseSenderThread final : public QThread {
public:
    using Loop = void (MorseEngine::*)();
    MorseSenderThread(MorseEngine& engine, Loop loop) : m_engine(engine), m_loop(loop) {}

protected:
    void run() override;

private:
    MorseEngine& m_engine;
    Loop m_loop;
};

// The Morse engine: timing, the sending loop (on a MorseSenderThread or on the caller's thread), the control
// characters, the message buffers and the message loop. It lives on the window thread; the sender shares
// with it only atomics, the outgoing queue and the callsign copy, and reaches the window through signals
// and queued calls, never by touching a widget.
class MorseEngine : public QObject {
    Q_OBJECT
public:
    enum class TraceKind { Key, Pause };
    // The configuration window's keying tests: "Kropki", "Kreski", "Strojenie" (a steady carrier).
    enum class KeyingTest { Dots, Dashes, Tune };
    using Trace = std::function<void(TraceKind, int ms)>;

    MorseEngine(KeyerTime& time, KeyingInterface& keying, KeyerEntry& entry, QObject* parent = nullptr);
    ~MorseEngine() override;

    // The Winkeyer or cwdaemon that keys from now on (opened by the caller), or null for our own timing. A running
    // transmission is stopped first. The keyer's events reach the engine on its own thread.
    void setTextKeyer(TextKeyer* keyer);
    void setConfig(const KeyerConfig& config);
    // A setting changed in the configuration window: the speed stays, and the element lengths follow at the next
    // transmission, manual character or speed change.
    void updateConfig(const KeyerConfig& config);
    KeyerConfig config() const;
    MessageBuffers& buffers() { return m_buffers; }
    const MessageBuffers& buffers() const { return m_buffers; }
    KeyingInterface& keying() { return m_keying; }
    void setTrace(Trace trace) { m_trace = std::move(trace); }
    // Raises each sender thread; SenderScheduler::process() unless a test scripts one. Set before sending.
    void setScheduler(SenderScheduler& scheduler) { m_scheduler = &scheduler; }
    // How the last transmission's sender was scheduled.
    SenderScheduling senderScheduling() const { return m_scheduling; }

    void ComputeTiming();
    MorseTiming timing() const;

    // Starts a transmission of macroInput (expanded first). Returns at once on a sender thread, otherwise
    // when the transmission has ended or was stopped.
    void SendText(const QString& macroInput);
    // Keys one character on the caller's thread (manual CW).
    void SendChar(QChar c);
    void StopSending();
    void StartBuffer(int number);
    // Buffer keys with Shift: exchange macros without cut numbers for this transmission.
    void setFullDigitsOnce(bool on) { m_fullDigitsOnce = on; }
    bool fullDigitsOnce() const { return m_fullDigitsOnce; }
    void setCalibrationRunning(bool on) { m_calibrationRunning = on; }

    // Keys dots, dashes or a steady carrier on a sender thread (PTT around it when the option is on) until
    // stopKeyingTest() or a stop; starting a transmission ends it. Returns at once.
    void startKeyingTest(KeyingTest test);
    // Ends a keying test with the lines at rest; returns once they are (at once when called from the test).
    void stopKeyingTest();
    bool keyingTestRunning() const { return m_testRunning; }

    int speed() const { return m_speed; }
    // The slider: clamped to 10..60, timing recomputed. Any thread.
    void setSpeed(int wpm);
    // The speed keys and the speed display: ±1 WPM that survives the end of the transmission.
    void changeSpeedBy(int delta);
    int savedSpeed() const { return m_savedSpeed; }
    void setSidetone(bool on);

    QString outgoingText() const { return m_queue.text(); }
    // The operator edited outgoingTextEdit.
    void setOutgoingText(const QString& text) { m_queue.replace(text.toUpper()); }
    bool txDown() const { return m_txDown; }
    bool pttLit() const { return m_pttLit; }
    bool sending() const { return m_senderRunning || m_directSending; }
    bool sendAbort() const { return m_sendAbort; }
    // Blocks until a running sender thread has finished (tests, shutdown).
    void waitForSender();

    // Message loop and the entry window's events.
    void clockTick();
    void callsignChanged(const QString& call);
    void cancelLoop();
    // The voice keyer's message ended with its loop flag set: it starts again after the loop delay.
    void armLoop();
    void showLoopLabel(bool visible) { emit loopLabelChanged(visible); }
    // PTT for the manual window and the voice keyer: raised (with the PTT delay) or released, when the PTT option
    // is on. Window thread.
    void holdPtt(bool on);
    void clearSendAbort() { m_sendAbort = false; }
    bool loopArmed() const { return m_loopArmed; }
    int lastBuffer() const { return m_lastBuffer; }
    bool keyingFailed() const { return m_portFailed; }
    KeyerTime::Nanoseconds lastStart() const { return KeyerTime::Nanoseconds(m_startNs.load()); }
    KeyerTime::Nanoseconds lastEnd() const { return KeyerTime::Nanoseconds(m_endNs.load()); }

signals:
    void outgoingChanged(const QString& text);    // outgoingTextEdit
    void sentChanged(const QString& text);        // sentTextEdit
    void currentCharChanged(const QString& text); // currentCharEdit
    void txChanged(bool down, bool enabled);      // txButton
    void speedChanged(int wpm);
    void loopLabelChanged(bool visible); // loopLabel
    void keyLedChanged(bool lit);        // keyLed
    void pttLedChanged(bool lit);        // pttLed
    void cutNumbersChanged(bool on);
    void transmissionFinished();
    // A buffer key in CW found the buffer without text: nothing is sent.
    void bufferEmpty(int number);
    // The operator touched the Winkeyer's paddle: the program's sending and the message loop stopped.
    void pausedByPaddle();
    // The Winkeyer or cwdaemon stopped answering; the text is for the operator.
    void keyerFailed(const QString& text);

private:
    friend class MorseSenderThread;
    void startTransmission(const QString& input, bool expanded);
    void appendExpansion(const QString& input);
    QString expand(const QString& input);
    void directLoop();
    void threadedLoop();
    void keyingTestLoop();
    void textKeyerLoop();
    void textKeyerTest(TextKeyer& keyer);
    // Hands one character to the text keyer and waits while it has more than a few unsent. False on a stop or a
    // failure (which ends the transmission as a failed element does).
    bool handToKeyer(TextKeyer& keyer, QChar c);
    // Waits until the text keyer has sent everything handed to it, so what follows happens after it on the air.
    bool drainKeyer();
    void configureTextKeyer();
    void sendQueueChar(QChar c);
    void SendCode(QChar c);
    void sendElement(bool dash, bool last, const MorseTiming& timing);
    void wait(int ms);
    void catchUp();
    void endOfTransmission(QChar last);
    void endOfAbortedTransmission();
    void appendSent(QChar c);
    void setCurrentChar(const QString& text);
    void setTx(bool down, bool enabled);
    void PrefillReceivedExchange();
    void runOnWindowThread(std::function<void()> action);
    QString currentCallsign() const;
    bool onWindowThread() const { return QThread::currentThread() == thread(); }

    KeyerTime& m_time;
    KeyingInterface& m_keying;
    KeyerEntry& m_entry;
    MessageBuffers m_buffers;
    OutgoingQueue m_queue;
    Trace m_trace;
    SenderScheduler* m_scheduler = &SenderScheduler::process();
    std::atomic<SenderScheduling> m_scheduling{SenderScheduling::None};

    mutable std::mutex m_configMutex;
    KeyerConfig m_config;

    std::atomic<int> m_speed{30};
    std::atomic<int> m_savedSpeed{30};
    std::atomic<int> m_speedBeforeStep{0};
    // The element lengths change together: a character reads them once, so a speed change made from another
    // thread while it is keyed never mixes two speeds within it.
    mutable std::mutex m_timingMutex;
    MorseTiming m_timing{40, 120, 40, 120};
    std::atomic<int> m_elementLength{0};

    std::atomic<bool> m_sendAbort{false};
    std::atomic<bool> m_senderRunning{false};
    std::atomic<bool> m_directSending{false};
    std::atomic<bool> m_terminate{false};
    std::atomic<bool> m_calibrationRunning{false};
    std::atomic<bool> m_fullDigitsOnce{false};
    std::atomic<bool> m_txDown{false};
    std::atomic<bool> m_pttLit{false};
    std::atomic<bool> m_portFailed{false};
    std::atomic<bool> m_loopArmed{false};
    std::atomic<bool> m_loopMessage{false};
    std::atomic<qint64> m_loopStartNs{0};
    std::atomic<int> m_lastBuffer{1};
    std::atomic<qint64> m_startNs{0}, m_endNs{0};
    std::atomic<KeyingTest> m_test{KeyingTest::Dots};
    std::atomic<bool> m_testRunning{false};
    std::atomic<bool> m_testStop{false};

    mutable std::mutex m_callMutex;
    QString m_callsign; // the sender's copy of callsignEdit

    // Only the sending thread touches these while a transmission runs.
    KeyerTime::Nanoseconds m_deadline{0};
    QString m_sent;

    std::mutex m_senderMutex;
    std::unique_ptr<MorseSenderThread> m_worker;
};
