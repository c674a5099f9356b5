#include "keyer/morseengine.h"

#include "keyer/keyerentry.h"
#include "keyer/keyinginterface.h"
#include "keyer/macroexpander.h"
#include "keyer/textkeyer.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int kStartPauseMs = 50;
// Behind the schedule by more than this (a stalled machine, a long pause between transmissions), the
// schedule restarts from now instead of shortening the following elements to catch up.
constexpr auto kMaxLag = std::chrono::milliseconds(10);
constexpr int kSentWidth = 38;
constexpr int kSentPadding = 41;
// A text keyer is kept this many characters ahead of what it has sent: enough that it never runs dry between
// characters, few enough that the outgoing text stays editable and a stop drops little.
constexpr int kTextKeyerLookahead = 2;

} // namespace

void MorseSenderThread::run() {
    // Held for the whole run: whoever takes it afterwards sees everything the sender wrote.
    std::lock_guard lock(m_engine.m_senderMutex);
    (m_engine.*m_loop)();
}

MorseEngine::MorseEngine(KeyerTime& time, KeyingInterface& keying, KeyerEntry& entry, QObject* parent)
    : QObject(parent), m_time(time), m_keying(keying), m_entry(entry) {
    m_queue.changed = [this](const QString& text) { emit outgoingChanged(text); };
    m_keying.keyLedChanged = [this](bool lit) { emit keyLedChanged(lit); };
    m_keying.pttLedChanged = [this](bool lit) {
        m_pttLit = lit;
        emit pttLedChanged(lit);
    };
    ComputeTiming();
}

MorseEngine::~MorseEngine() {
    m_sendAbort = true;
    m_terminate = true;
    if (TextKeyer* keyer = m_keying.textKeyer())
        keyer->abort();
    waitForSender();
    setTextKeyer(nullptr);
    m_queue.changed = nullptr;
    m_keying.keyLedChanged = nullptr;
    m_keying.pttLedChanged = nullptr;
}

void MorseEngine::setTextKeyer(TextKeyer* keyer) {
    TextKeyer* const old = m_keying.textKeyer();
    if (old == keyer)
        return;
    if (old) {
        StopSending();
        if (m_testRunning)
            stopKeyingTest();
        waitForSender();
        old->sent = nullptr;
        old->breakIn = nullptr;
        old->speedPotChanged = nullptr;
        old->failed = nullptr;
    }
    m_keying.setTextKeyer(keyer);
    if (!keyer)
        return;
    // Each event is taken up on the window thread; a queued call to an engine that is gone is dropped.
    keyer->sent = [this](QChar c) {
        QMetaObject::invokeMethod(
            this,
            [this, c] {
                appendSent(c);
                setCurrentChar(QString(c));
            },
            Qt::QueuedConnection);
    };
    keyer->breakIn = [this] {
        // The sender stops at once, on the keyer's thread; the rest of the stop follows on the window thread.
        m_sendAbort = true;
        m_loopArmed = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_loopMessage = false;
                StopSending();
                cancelLoop();
                emit pausedByPaddle();
            },
            Qt::QueuedConnection);
    };
    keyer->speedPotChanged = [this](int wpm) {
        QMetaObject::invokeMethod(
            this, [this, wpm] { changeSpeedBy(wpm - m_speed); }, Qt::QueuedConnection);
    };
    keyer->failed = [this](const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { emit keyerFailed(text); }, Qt::QueuedConnection);
    };
    configureTextKeyer();
}

void MorseEngine::configureTextKeyer() {
    TextKeyer* const keyer = m_keying.textKeyer();
    if (!keyer)
        return;
    TextKeyerSettings settings;
    {
        std::lock_guard lock(m_configMutex);
        settings = m_config.textKeyerSettings();
    }
    settings.wpm = m_speed;
    settings.sidetone = m_keying.sidetoneOn();
    keyer->configure(settings);
}

void MorseEngine::setConfig(const KeyerConfig& config) {
    {
        std::lock_guard lock(m_configMutex);
        m_config = config;
    }
    m_keying.configure(config);
    m_speed = Morse::clampSpeed(config.speed);
    m_savedSpeed = int(m_speed);
    ComputeTiming();
    configureTextKeyer();
    emit speedChanged(m_speed);
}

void MorseEngine::updateConfig(const KeyerConfig& config) {
    {
        std::lock_guard lock(m_configMutex);
        m_config = config;
        m_config.speed = m_speed;
    }
    m_keying.configure(config);
    m_keying.setSidetone(config.sidetone);
    configureTextKeyer();
}

KeyerConfig MorseEngine::config() const {
    std::lock_guard lock(m_configMutex);
    KeyerConfig c = m_config;
    c.speed = m_speed;
    c.sidetone = m_keying.sidetoneOn();
    return c;
}

void MorseEngine::ComputeTiming() {
    KeyerConfig c;
    {
        std::lock_guard lock(m_configMutex);
        c = m_config;
    }
    const MorseTiming t = Morse::ComputeTiming(m_speed, c.dashRatio, c.gapRatio, c.longGapRatio, c.calibrationFactor);
    const std::lock_guard lock(m_timingMutex);
    m_timing = t;
}

MorseTiming MorseEngine::timing() const {
    const std::lock_guard lock(m_timingMutex);
    return m_timing;
}

void MorseEngine::setSpeed(int wpm) {
    const int clamped = Morse::clampSpeed(wpm);
    m_speed = clamped;
    {
        std::lock_guard lock(m_configMutex);
        m_config.speed = clamped;
    }
    ComputeTiming();
    if (TextKeyer* keyer = m_keying.textKeyer())
        keyer->setSpeed(clamped);
    emit speedChanged(clamped);
}

void MorseEngine::changeSpeedBy(int delta) {
    setSpeed(m_speed + delta);
    m_savedSpeed = int(m_speed);
}

void MorseEngine::setSidetone(bool on) {
    m_keying.setSidetone(on);
    {
        std::lock_guard lock(m_configMutex);
        m_config.sidetone = on;
    }
    configureTextKeyer();
}

void MorseEngine::waitForSender() {
    if (m_worker) {
        m_worker->wait();
        { const std::lock_guard lock(m_senderMutex); }
        m_worker.reset();
    }
}

QString MorseEngine::expand(const QString& input) {
    MacroSettings settings;
    {
        std::lock_guard lock(m_configMutex);
        settings.cutNumbers = m_config.cutNumbers;
        settings.extraGap = m_config.extraGap;
    }
    settings.fullDigitsOnce = m_fullDigitsOnce;
    const MacroExpansion expansion = ExpandMacros(input, m_entry, m_buffers, settings);
    if (expansion.showLoopLabel) {
        m_loopMessage = true;
        emit loopLabelChanged(true);
    }
    if (expansion.cutNumbers) {
        {
            std::lock_guard lock(m_configMutex);
            m_config.cutNumbers = *expansion.cutNumbers;
        }
        emit cutNumbersChanged(*expansion.cutNumbers);
    }
    return expansion.text.toUpper();
}

void MorseEngine::appendExpansion(const QString& input) {
    const QString text = expand(input);
    // The sender may have taken the last character meanwhile; then this starts a transmission of its own.
    if (!m_queue.appendIfNotEmpty(text))
        startTransmission(text, true);
}

void MorseEngine::StartBuffer(int number) {
    if (number < 1 || number > MessageBuffers::kCount)
        return;
    m_lastBuffer = number;
    const MessageBuffer& buffer = m_buffers.at(number);
    if (!m_entry.mode().isCw()) {
        m_entry.playBufferWav(number, buffer.wavFile);
        return;
    }
    if (buffer.text.trimmed().isEmpty()) {
        emit bufferEmpty(number);
        return;
    }
    if (!m_queue.isEmpty())
        appendExpansion(QStringLiteral(" ") + buffer.text);
    else
        SendText(buffer.text);
}

void MorseEngine::SendText(const QString& macroInput) {
    startTransmission(macroInput, false);
}

void MorseEngine::startTransmission(const QString& input, bool expanded) {
    if (!m_entry.mode().isCw() && !m_calibrationRunning)
        return;
    if (m_directSending) {
        // A buffer key pressed while this thread is itself sending: the running loop takes it over, so two
        // senders never key at once.
        m_queue.append(expanded ? input : expand(input));
        return;
    }
    if (m_testRunning)
        stopKeyingTest();
    // A sender still keying the last character of the previous transmission finishes it first.
    waitForSender();
    {
        std::lock_guard lock(m_callMutex);
        m_callsign = m_entry.callsign();
    }
    setTx(true, true);
    m_queue.clear();
    m_sent.clear();
    emit sentChanged(m_sent);
    m_sendAbort = false;
    m_terminate = false;
    m_portFailed = false;
    ComputeTiming();
    m_deadline = m_time.now();
    // A Winkeyer or cwdaemon raises PTT around its own sending, with its own lead.
    TextKeyer* const keyer = m_keying.textKeyer();
    if (!keyer && m_keying.pttOption()) {
        if (!m_keying.pttOn()) {
            // Nobody will press stop for this: the transmission ends as after a failed element, queue cleared
            // and "TX" released, so the next buffer key starts afresh.
            m_portFailed = true;
            m_sendAbort = true;
        }
        if (m_keying.pttDelayMs() > 0)
            wait(m_keying.pttDelayMs());
    }
    m_savedSpeed = int(m_speed);
    if (!keyer)
        wait(kStartPauseMs);
    m_queue.append(expanded ? input : expand(input));
    if (keyer) {
        // The keyer is fed from a sender thread whatever "Wielowątkowość" says: waiting for it must not hold
        // the window.
        m_senderRunning = true;
        m_worker = std::make_unique<MorseSenderThread>(*this, &MorseEngine::textKeyerLoop);
        m_worker->start();
        return;
    }

    bool threaded = false;
    {
        std::lock_guard lock(m_configMutex);
        threaded = m_config.multithreaded;
    }
    if (threaded && !m_calibrationRunning) {
        m_senderRunning = true;
        m_worker = std::make_unique<MorseSenderThread>(*this, &MorseEngine::threadedLoop);
        m_worker->start();
        return;
    }
    m_startNs = m_time.now().count();
    directLoop();
}

void MorseEngine::directLoop() {
    m_directSending = true;
    m_scheduling = m_scheduler->currentThread();
    QChar previous;
    while (!m_queue.isEmpty()) {
        if (m_sendAbort)
            break;
        appendSent(previous);
        const std::optional<QChar> c = m_queue.takeFirst();
        if (!c)
            break;
        setCurrentChar(QString(*c));
        QCoreApplication::processEvents();
        sendQueueChar(*c);
        previous = *c;
    }
    m_directSending = false;
    if (m_sendAbort)
        endOfAbortedTransmission();
    else
        endOfTransmission(previous);
}

void MorseEngine::threadedLoop() {
    m_startNs = m_time.now().count();
    bool raised = false;
    QChar previous;
    for (;;) {
        if (m_terminate || m_sendAbort) {
            endOfAbortedTransmission();
            return;
        }
        const std::optional<QChar> c = m_queue.takeFirst();
        if (!c) {
            endOfTransmission(previous);
            return;
        }
        // Once per thread, before its first element: a refused request is not repeated for every character.
        if (!raised) {
            m_scheduling = m_scheduler->raiseCurrentThread();
            raised = true;
            // Asking RealtimeKit takes a few milliseconds, which must not come off the first element.
            m_deadline = std::max(m_deadline, m_time.now());
        }
        appendSent(previous);
        setCurrentChar(QString(*c));
        sendQueueChar(*c);
        previous = *c;
    }
}

void MorseEngine::textKeyerLoop() {
    m_startNs = m_time.now().count();
    for (;;) {
        if (m_terminate || m_sendAbort) {
            endOfAbortedTransmission();
            return;
        }
        if (const std::optional<QChar> c = m_queue.takeFirst()) {
            sendQueueChar(*c);
            continue;
        }
        // Everything is handed over: the transmission ends when the keyer has sent it, unless the operator
        // added text meanwhile.
        if (drainKeyer() && m_queue.isEmpty()) {
            endOfTransmission(QChar());
            return;
        }
    }
}

bool MorseEngine::handToKeyer(TextKeyer& keyer, QChar c) {
    if (m_sendAbort)
        return false;
    if (!keyer.isOpen()) {
        // Gone (unplugged, not answering): the transmission ends at once, as after a failed element.
        m_portFailed = true;
        m_sendAbort = true;
        return false;
    }
    keyer.send(QString(c));
    if (keyer.waitForPending(kTextKeyerLookahead, [this] { return m_sendAbort || m_terminate; }))
        return true;
    if (!m_sendAbort && !m_terminate) {
        m_portFailed = true;
        m_sendAbort = true;
    }
    return false;
}

bool MorseEngine::drainKeyer() {
    TextKeyer* const keyer = m_keying.textKeyer();
    if (!keyer)
        return true;
    if (keyer->waitForPending(0, [this] { return m_sendAbort || m_terminate; }))
        return true;
    if (!m_sendAbort && !m_terminate) {
        m_portFailed = true;
        m_sendAbort = true;
    }
    return false;
}

void MorseEngine::endOfAbortedTransmission() {
    // Stopped: the element in progress has ended; release the lines from the thread that keyed them.
    setCurrentChar(QString());
    m_keying.stoppedState();
    m_keying.pttOff();
    if (m_portFailed) {
        // Nobody pressed stop: end the transmission as a stop would.
        setTx(false, false);
        m_queue.clear();
        setSpeed(m_savedSpeed);
    }
    m_senderRunning = false;
    emit transmissionFinished();
}

void MorseEngine::endOfTransmission(QChar last) {
    m_endNs = m_time.now().count();
    appendSent(last);
    setCurrentChar(QStringLiteral(" "));
    m_sendAbort = true;
    m_keying.stoppedState();
    setTx(false, false);
    m_queue.clear();
    m_senderRunning = false;
    m_fullDigitsOnce = false;
    if (m_keying.pttOption())
        m_keying.pttOff();
    setSpeed(m_savedSpeed);
    emit transmissionFinished();
}

void MorseEngine::StopSending() {
    m_sendAbort = true;
    if (TextKeyer* keyer = m_keying.textKeyer())
        keyer->abort();
    m_keying.sendingStopped();
    setTx(false, false);
    if (m_senderRunning)
        m_terminate = true;
    m_queue.clear();
    // A running sender releases PTT itself once its element has ended, so that only one thread keys.
    if (!m_senderRunning && !m_directSending && !m_testRunning && m_keying.pttOption())
        m_keying.pttOff();
    setSpeed(m_savedSpeed);
}

void MorseEngine::SendChar(QChar c) {
    if (m_directSending || m_senderRunning) {
        m_queue.append(QString(c).toUpper());
        return;
    }
    if (TextKeyer* keyer = m_keying.textKeyer()) {
        // The keyer times it; its echo shows it in the sent text.
        keyer->send(QString(c.toUpper()));
        return;
    }
    waitForSender();
    m_sendAbort = false;
    m_portFailed = false;
    ComputeTiming();
    m_deadline = m_time.now();
    sendQueueChar(c.toUpper());
    if (m_sendAbort)
        m_keying.pttOff();
}

void MorseEngine::sendQueueChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 32 || u > 160)
        return;
    TextKeyer* const keyer = m_keying.textKeyer();
    switch (u) {
    case u' ':
        if (keyer) {
            handToKeyer(*keyer, c);
            return;
        }
        m_keying.characterStarted(c, m_speed);
        wait(timing().longGap);
        return;
    case Macros::kCall:
        for (qsizetype i = 0;; ++i) {
            const QString call = currentCallsign();
            if (i >= call.size() || m_sendAbort)
                break;
            const QChar ch = call.at(i);
            if (ch.unicode() >= 47 && ch.unicode() <= 92)
                SendCode(ch);
            if (onWindowThread())
                QCoreApplication::processEvents();
        }
        return;
    case Macros::kLoop:
        // With a text keyer the loop, the logging and the prefill happen when what comes before is on the air.
        if (!drainKeyer())
            return;
        m_loopArmed = true;
        m_loopStartNs = m_time.now().count();
        emit loopLabelChanged(true);
        return;
    case Macros::kSaveQso:
        if (!drainKeyer())
            return;
        runOnWindowThread([this] { m_entry.addQso(); });
        return;
    case Macros::kSpeedUp:
        if (!drainKeyer())
            return;
        m_speedBeforeStep = int(m_speed);
        setSpeed(m_speed + 5);
        return;
    case Macros::kSpeedDown:
        if (!drainKeyer())
            return;
        if (m_speed == Morse::kMaxSpeed && m_speedBeforeStep >= 56)
            setSpeed(m_speedBeforeStep);
        else
            setSpeed(m_speed - 5);
        return;
    case Macros::kPrefill:
        if (!drainKeyer())
            return;
        runOnWindowThread([this] { PrefillReceivedExchange(); });
        return;
    default:
        SendCode(c);
    }
}

void MorseEngine::SendCode(QChar c) {
    if (TextKeyer* keyer = m_keying.textKeyer()) {
        handToKeyer(*keyer, c);
        return;
    }
    const QString pattern = Morse::code(c);
    if (!pattern.isEmpty() && !m_sendAbort)
        m_keying.characterStarted(c, m_speed);
    const MorseTiming t = timing();
    for (qsizetype i = 0; i < pattern.size(); ++i)
        sendElement(pattern.at(i) == u'-', i == pattern.size() - 1, t);
}

void MorseEngine::sendElement(bool dash, bool last, const MorseTiming& t) {
    const int length = dash ? t.dashLength : t.dotLength;
    m_elementLength = length;
    if (m_sendAbort) {
        m_keying.stoppedState();
        return;
    }
    catchUp();
    if (!m_keying.keyDown()) {
        m_portFailed = true;
        m_sendAbort = true;
        return;
    }
    if (m_trace)
        m_trace(TraceKind::Key, length);
    m_deadline += std::chrono::milliseconds(length);
    m_time.sleepUntil(m_deadline);
    if (!m_keying.keyUp()) {
        m_portFailed = true;
        m_sendAbort = true;
        return;
    }
    // A stop takes effect here, at the end of the element, without waiting out the gap.
    if (m_sendAbort) {
        m_keying.stoppedState();
        return;
    }
    wait(last ? t.longGap : t.elementGap);
    if (m_sendAbort)
        m_keying.stoppedState();
}

void MorseEngine::catchUp() {
    const KeyerTime::Nanoseconds now = m_time.now();
    if (now - m_deadline > kMaxLag)
        m_deadline = now;
}

void MorseEngine::wait(int ms) {
    catchUp();
    if (m_trace)
        m_trace(TraceKind::Pause, ms);
    m_deadline += std::chrono::milliseconds(ms);
    m_time.sleepUntil(m_deadline);
}

void MorseEngine::appendSent(QChar c) {
    if (c.isNull())
        return;
    m_sent = (QString(kSentPadding, u' ') + m_sent + c).right(kSentWidth);
    emit sentChanged(m_sent);
}

void MorseEngine::setCurrentChar(const QString& text) {
    emit currentCharChanged(text);
}

void MorseEngine::setTx(bool down, bool enabled) {
    m_txDown = down;
    emit txChanged(down, enabled);
}

void MorseEngine::runOnWindowThread(std::function<void()> action) {
    if (onWindowThread())
        action();
    else
        QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
}

QString MorseEngine::currentCallsign() const {
    if (onWindowThread())
        return m_entry.callsign();
    std::lock_guard lock(m_callMutex);
    return m_callsign;
}

void MorseEngine::PrefillReceivedExchange() {
    const QString call = m_entry.callsign();
    if (!m_entry.callsignHasFocus() || call.isEmpty())
        return;
    const AnalysisOptions options = m_entry.analysis();
    if (options.enabled && m_entry.receivedExchange().isEmpty()) {
        if (const std::optional<QString> info = m_entry.callInfo(call)) {
            const QStringList parts = info->split(u';');
            QString value;
            if (options.mode == AnalysisMode::Locator)
                value = info->section(u';', 2);
            else if (options.mode == AnalysisMode::ProvinceCounty)
                value = parts.value(1);
            else
                value = parts.value(1).mid(1, 2);
            m_entry.setReceivedExchange(value);
        }
    }
    m_entry.focusReceivedExchange();
}

void MorseEngine::clockTick() {
    if (!m_loopArmed)
        return;
    if (!currentCallsign().isEmpty()) {
        m_loopArmed = false;
        emit loopLabelChanged(false);
        return;
    }
    int delay = 1;
    {
        std::lock_guard lock(m_configMutex);
        delay = m_config.loopDelaySeconds;
    }
    const qint64 elapsedSeconds = (m_time.now().count() - m_loopStartNs) / 1'000'000'000;
    if (elapsedSeconds >= delay) {
        m_loopArmed = false;
        // As a click on the buffer's button: the callsign field gets the focus first.
        m_entry.focusCallsign();
        StartBuffer(m_lastBuffer);
    }
}

void MorseEngine::callsignChanged(const QString& call) {
    {
        std::lock_guard lock(m_callMutex);
        m_callsign = call;
    }
    emit loopLabelChanged(false);
    m_loopArmed = false;
    if (m_loopMessage && m_txDown) {
        StopSending();
        m_loopMessage = false;
    }
}

void MorseEngine::armLoop() {
    m_loopStartNs = m_time.now().count();
    m_loopArmed = true;
}

void MorseEngine::holdPtt(bool on) {
    if (!m_keying.pttOption())
        return;
    if (!on) {
        m_keying.pttOff();
        return;
    }
    m_keying.pttOn();
    if (const int delay = m_keying.pttDelayMs(); delay > 0)
        m_time.sleepUntil(m_time.now() + std::chrono::milliseconds(delay));
}

void MorseEngine::cancelLoop() {
    m_loopArmed = false;
    emit loopLabelChanged(false);
}

void MorseEngine::startKeyingTest(KeyingTest test) {
    if (m_testRunning)
        stopKeyingTest();
    if (sending())
        return;
    waitForSender();
    m_test = test;
    m_sendAbort = false;
    m_terminate = false;
    m_testStop = false;
    m_testRunning = true;
    m_worker = std::make_unique<MorseSenderThread>(*this, &MorseEngine::keyingTestLoop);
    m_worker->start();
}

void MorseEngine::stopKeyingTest() {
    m_testStop = true;
    if (m_worker && QThread::currentThread() != m_worker.get())
        waitForSender();
}

void MorseEngine::textKeyerTest(TextKeyer& keyer) {
    auto stopped = [this] { return m_testStop || m_sendAbort || m_terminate; };
    if (m_test == KeyingTest::Tune) {
        keyer.setTune(true);
        while (!stopped())
            m_time.sleepUntil(m_time.now() + std::chrono::milliseconds(5));
        keyer.setTune(false);
    } else {
        const QChar element = m_test == KeyingTest::Dashes ? u'T' : u'E';
        while (!stopped()) {
            keyer.send(QString(element));
            if (!keyer.waitForPending(kTextKeyerLookahead, stopped))
                break;
        }
        keyer.abort();
    }
    m_testRunning = false;
}

void MorseEngine::keyingTestLoop() {
    if (TextKeyer* keyer = m_keying.textKeyer()) {
        textKeyerTest(*keyer);
        return;
    }
    auto stopped = [this] { return m_testStop || m_sendAbort || m_terminate; };
    const bool ptt = m_keying.pttOption();
    m_deadline = m_time.now();
    if (ptt) {
        m_keying.pttOn();
        if (m_keying.pttDelayMs() > 0)
            wait(m_keying.pttDelayMs());
    }
    if (m_test == KeyingTest::Tune) {
        // The carrier is held key-down; the stop is looked at every few milliseconds.
        if (m_keying.keyDown()) {
            while (!stopped())
                m_time.sleepUntil(m_time.now() + std::chrono::milliseconds(5));
        }
        m_keying.keyUp();
        m_keying.pttOff();
    } else {
        const bool dashes = m_test == KeyingTest::Dashes;
        while (!stopped()) {
            const MorseTiming t = timing();
            const int length = dashes ? t.dashLength : t.dotLength;
            m_elementLength = length;
            catchUp();
            if (!m_keying.keyDown())
                break;
            m_deadline += std::chrono::milliseconds(length);
            m_time.sleepUntil(m_deadline);
            if (!m_keying.keyUp())
                break;
            wait(t.dotLength);
        }
        if (ptt)
            m_keying.pttOff();
    }
    m_testRunning = false;
}
