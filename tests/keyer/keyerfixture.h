#pragma once

#include "keyer/keyerentry.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "recordingport.h"

#include <QStringList>

// One keyer on virtual time with a recording port: what the engine keys, and when, without waiting.
struct KeyerFixture {
    KeyerFixture() : KeyerFixture(directConfig(20)) {}
    explicit KeyerFixture(KeyerConfig c) : config(c) {
        engine.setConfig(config);
        engine.setTrace([this](MorseEngine::TraceKind kind, int ms) {
            timeline << QStringLiteral("%1 %2").arg(kind == MorseEngine::TraceKind::Key ? "key" : "pause").arg(ms);
        });
    }

    static KeyerConfig directConfig(int wpm = 20) {
        KeyerConfig c;
        c.speed = wpm;
        c.multithreaded = false;
        c.sidetone = false;
        return c;
    }

    // Key-down and key-up moments of the parallel port (value 1 / 9 without PTT), in ms.
    QList<qint64> lptTimes() const {
        QList<qint64> times;
        for (const RecordingPort::Event& e : port.events())
            if (e.kind == RecordingPort::Kind::Lpt)
                times << e.ms();
        return times;
    }

    KeyerConfig config;
    VirtualKeyerTime time;
    RecordingPort port{time};
    KeyingInterface keying{&port, &port, &port};
    PlainKeyerEntry entry;
    MorseEngine engine{time, keying, entry};
    QStringList timeline;
};
