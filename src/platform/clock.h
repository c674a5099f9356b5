#pragma once

#include <QDateTime>

// The local date and time "now"; the entry window derives UTC from it with the configured offset.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
