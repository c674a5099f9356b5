#pragma once

#include "keyer/ports/portseams.h"

#include <mutex>

class RigPoller;

// The keyer's way to the radio: CAT keying and PTT go to the poller that runs now (the dialog may replace it
// while the keyer sends); with none they are dropped.
class RigPollerKeying final : public RigKeying {
public:
    void setPoller(RigPoller* poller);

    void sendMorse(const QString& text, int wpm) override;
    void stopMorse() override;
    void setPtt(bool on) override;

private:
    std::mutex m_mutex;
    RigPoller* m_poller = nullptr;
};
