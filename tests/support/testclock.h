#pragma once

#include "platform/clock.h"

// The clock seam for tests: it shows the time the test gives it and moves only when the test sets another.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};
