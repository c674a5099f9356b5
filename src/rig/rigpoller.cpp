#include "rig/rigpoller.h"

#include <QTimer>

RigPollerWorker::RigPollerWorker(std::unique_ptr<Rig> rig, int pollMs) : m_rig(std::move(rig)), m_pollMs(pollMs) {}

RigPollerWorker::~RigPollerWorker() {
    if (m_open)
        m_rig->close();
}

void RigPollerWorker::start() {
    m_timer = new QTimer(this);
    m_timer->setInterval(m_pollMs);
    connect(m_timer, &QTimer::timeout, this, &RigPollerWorker::poll);
    m_timer->start();
    poll();
}

void RigPollerWorker::poll() {
    if (!m_open) {
        const RigReply opened = m_rig->open();
        if (!opened.ok()) {
            report(false, opened.error);
            return;
        }
        m_open = true;
    }
    const quint64 tuned = m_tuned;
    const RigReading reading = m_rig->read();
    if (!reading.ok()) {
        // Closed now and opened again by the next poll: a restarted rigctld or a radio switched on again is
        // found without the operator doing anything.
        m_rig->close();
        m_open = false;
        report(false, reading.error);
        return;
    }
    report(true, m_commandError);
    emit readingTaken(reading, tuned);
}

void RigPollerWorker::tune(quint64 sequence, qint64 frequencyHz, const QString& mode) {
    if (m_open && frequencyHz > 0)
        commandDone(m_rig->setFrequency(frequencyHz));
    if (m_open && !mode.isEmpty())
        commandDone(m_rig->setMode(mode));
    m_tuned = sequence;
}

void RigPollerWorker::setPtt(bool on) {
    if (m_open)
        commandDone(m_rig->setPtt(on));
}

void RigPollerWorker::sendMorse(const QString& text, int wpm) {
    if (m_open)
        commandDone(m_rig->sendMorse(text, wpm));
}

void RigPollerWorker::stopMorse() {
    if (m_open)
        m_rig->stopMorse(); // radios without the command have nothing to stop
}

void RigPollerWorker::commandDone(const RigReply& reply) {
    // A refusal (a frequency the radio cannot tune, a mode or a keyer it has not) stays shown beside the
    // connection until a command succeeds.
    m_commandError = reply.error;
    report(true, m_commandError);
}

void RigPollerWorker::report(bool connected, const QString& error) {
    if (m_reportedConnected == connected && m_reportedError == error)
        return;
    m_reportedConnected = connected;
    m_reportedError = error;
    emit connectionChanged(connected, error);
}

RigPoller::RigPoller(std::unique_ptr<Rig> rig, int pollMs, QObject* parent)
    : QObject(parent), m_worker(new RigPollerWorker(std::move(rig), pollMs)) {
    qRegisterMetaType<RigReading>();
    m_thread.setObjectName(QStringLiteral("rig poller"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_worker, &RigPollerWorker::start);
    // The worker, and with it the radio's connection, ends on its own thread.
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    // Only once the connection is closed: closing may wait on the radio as long as any other call.
    connect(m_worker, &QObject::destroyed, this, &RigPoller::finished, Qt::QueuedConnection);
    connect(m_worker, &RigPollerWorker::readingTaken, this, &RigPoller::readingArrived);
    connect(m_worker, &RigPollerWorker::connectionChanged, this, &RigPoller::connectionChanged);
}

RigPoller::~RigPoller() {
    stop();
    m_thread.wait();
    // A thread that never ran has not deleted its worker.
    if (!m_started)
        delete m_worker;
}

void RigPoller::start() {
    m_started = true;
    m_thread.start();
}

void RigPoller::stop() {
    const std::lock_guard lock(m_postMutex);
    m_stopping = true;
    m_thread.quit();
}

template <typename F> void RigPoller::post(F&& call) {
    // Once stopped, the worker may be gone with its thread.
    const std::lock_guard lock(m_postMutex);
    if (!m_stopping)
        QMetaObject::invokeMethod(m_worker, std::forward<F>(call), Qt::QueuedConnection);
}

quint64 RigPoller::tune(qint64 frequencyHz, const QString& mode) {
    const quint64 sequence = ++m_tuneIssued;
    post([worker = m_worker, sequence, frequencyHz, mode] { worker->tune(sequence, frequencyHz, mode); });
    return sequence;
}

void RigPoller::setPtt(bool on) {
    post([worker = m_worker, on] { worker->setPtt(on); });
}

void RigPoller::sendMorse(const QString& text, int wpm) {
    post([worker = m_worker, text, wpm] { worker->sendMorse(text, wpm); });
}

void RigPoller::stopMorse() {
    post([worker = m_worker] { worker->stopMorse(); });
}
