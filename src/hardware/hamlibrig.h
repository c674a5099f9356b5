#pragma once

#include "rig/rig.h"
#include "rig/rigsettings.h"

#include <QList>

struct s_rig;

// A model hamlib can drive: its number for the settings, its maker and name for the list the operator picks from.
struct RigModel {
    int number = 0;
    QString manufacturer;
    QString name;
};

// The Rig seam on hamlib: a model on a serial port at its speed, or hamlib's network model talking to a
// running rigctld. Not thread-safe: the poller's thread (or kvrlog-cli's only thread) makes every call.
class HamlibRig final : public Rig {
public:
    explicit HamlibRig(RigSettings settings);
    ~HamlibRig() override;
    HamlibRig(const HamlibRig&) = delete;
    HamlibRig& operator=(const HamlibRig&) = delete;

    RigReply open() override;
    void close() override;
    RigReading read() override;
    RigReply setFrequency(qint64 hz) override;
    RigReply setMode(const QString& mode) override;
    RigReply setPtt(bool on) override;
    RigReply sendMorse(const QString& text, int wpm) override;
    RigReply stopMorse() override;

    // What the operator is told for one of hamlib's error codes: in Polish where the code is known, else hamlib's
    // own text with the number.
    static QString errorText(int code);
    // Every model hamlib knows, sorted by maker and name.
    static QList<RigModel> models();

private:
    RigReply setConf(const char* name, const QString& value);

    RigSettings m_settings;
    s_rig* m_rig = nullptr;
    int m_keyerWpm = 0;
};
