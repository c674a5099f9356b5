#pragma once

#include "keyer/ports/portseams.h"
#include "keyer/textkeyer.h"
#include "keyer/winkeyerprotocol.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

// The Winkeyer on a serial port: the chip times the Morse, we feed it characters as its buffer allows and
// learn from its echo what has gone out. Calls come from any thread; the events come on the stream's thread.
class WinkeyerKeyer final : public TextKeyer {
public:
    explicit WinkeyerKeyer(SerialStream* stream, QString portName);
    ~WinkeyerKeyer() override;

    QString name() const override { return QStringLiteral("Winkeyer"); }
    TextKeyerCapabilities capabilities() const override;
    TextKeyerOpenResult open(const TextKeyerSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void configure(const TextKeyerSettings& settings) override;
    void setSpeed(int wpm) override;
    void send(const QString& text) override;
    void abort() override;
    void setPtt(bool on) override;
    void setTune(bool on) override;

    // The version byte the chip gave at host open (0 before).
    int version() const;
    // The chip's last status bits (Winkeyer::StatusBit).
    quint8 status() const;
    // How long open() waits for the version byte.
    static constexpr std::chrono::milliseconds kAnswerTimeout{1000};

    static QString noAnswerMessage(const QString& port); // "Winkeyer nie odpowiada na porcie /dev/ttyUSB0"
    static QString lostMessage(const QString& error);    // "Winkeyer odłączony (...)"

private:
    void onBytes(const QByteArray& bytes);
    void onLost(const QString& error);
    // Writes what the chip may take now; the characters that went out without it are returned for reporting.
    QString pumpLocked();
    void report(const QString& characters);
    bool writeLocked(const QByteArray& bytes);

    SerialStream* m_stream;
    QString m_portName;
    mutable std::mutex m_mutex;
    std::condition_variable m_versionArrived;
    Winkeyer::Decoder m_decoder;
    Winkeyer::TextFlow m_flow;
    TextKeyerSettings m_settings;
    bool m_open = false;
    bool m_tune = false;
    int m_version = 0;
    quint8 m_status = 0;
    std::chrono::steady_clock::time_point m_lastTextWrite{};
    int m_lastTextBytes = 0;
};
