#include "audiosidetone.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kSampleRate = 48000;
// Edges ramp over 3 ms so the keyed tone does not click.
constexpr double kRampSamples = kSampleRate * 0.003;

// Pulls sine samples for the sink; the envelope follows the on flag.
class ToneGenerator final : public QIODevice {
public:
    explicit ToneGenerator(AudioSidetone::Shared& shared) : m_shared(shared) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 samples = maxSize / qint64(sizeof(qint16));
        auto* out = reinterpret_cast<qint16*>(data);
        const double step = 2.0 * std::numbers::pi * double(m_shared.frequency.load()) / kSampleRate;
        const double amplitude = 32767.0 * std::clamp(m_shared.volume.load(), 0, 100) / 100.0;
        const bool on = m_shared.on.load();
        for (qint64 i = 0; i < samples; ++i) {
            m_envelope =
                on ? std::min(1.0, m_envelope + 1.0 / kRampSamples) : std::max(0.0, m_envelope - 1.0 / kRampSamples);
            out[i] = qint16(amplitude * m_envelope * std::sin(m_phase));
            m_phase = m_envelope > 0.0 ? std::fmod(m_phase + step, 2.0 * std::numbers::pi) : 0.0;
        }
        return samples * qint64(sizeof(qint16));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    AudioSidetone::Shared& m_shared;
    double m_phase = 0.0;
    double m_envelope = 0.0;
};

} // namespace

AudioSidetone::AudioSidetone() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    m_hasDevice = !device.isNull();
    if (!m_hasDevice)
        return;
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        m_hasDevice = false;
        return;
    }
    // The stream is created on its own thread and runs on that thread's event loop, independent of a busy
    // window thread.
    auto* owner = new QObject;
    owner->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::started, owner, [this, owner, device, format] {
        auto* generator = new ToneGenerator(m_shared);
        generator->setParent(owner);
        auto* sink = new QAudioSink(device, format, owner);
        sink->setBufferSize(kSampleRate / 50 * int(sizeof(qint16))); // 20 ms from key to tone
        sink->start(generator);
    });
    // Emitted on the stream's thread as its loop ends: the sink stops and goes with its owner there.
    QObject::connect(&m_thread, &QThread::finished, owner, [owner] {
        for (QAudioSink* sink : owner->findChildren<QAudioSink*>())
            sink->stop();
        delete owner;
    });
    m_thread.start();
}

AudioSidetone::~AudioSidetone() {
    m_thread.quit();
    m_thread.wait();
}

QString AudioSidetone::unavailableMessage() {
    return QStringLiteral(
        "Nie ma urządzenia dźwiękowego: podsłuch CW jest niesłyszalny. Kluczowanie działa normalnie.");
}

void AudioSidetone::toneOn(int frequencyHz, int volumePercent) {
    if (!m_hasDevice && !m_told.exchange(true) && unavailable)
        unavailable();
    m_shared.frequency = frequencyHz;
    m_shared.volume = volumePercent;
    m_shared.on = true;
}

void AudioSidetone::toneOff() {
    m_shared.on = false;
}
