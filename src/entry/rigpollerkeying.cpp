#include "entry/rigpollerkeying.h"

#include "rig/rigpoller.h"

void RigPollerKeying::setPoller(RigPoller* poller) {
    const std::lock_guard lock(m_mutex);
    m_poller = poller;
}

void RigPollerKeying::sendMorse(const QString& text, int wpm) {
    const std::lock_guard lock(m_mutex);
    if (m_poller)
        m_poller->sendMorse(text, wpm);
}

void RigPollerKeying::stopMorse() {
    const std::lock_guard lock(m_mutex);
    if (m_poller)
        m_poller->stopMorse();
}

void RigPollerKeying::setPtt(bool on) {
    const std::lock_guard lock(m_mutex);
    if (m_poller)
        m_poller->setPtt(on);
}
