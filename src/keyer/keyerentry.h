#pragma once

#include "core/qso.h"

#include "analysis/analysisoptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the keyer reads from and does to the entry window. Every call is made on the window thread; the
// sender thread never calls it (it asks the engine to run such steps on the window thread).
class KeyerEntry {
public:
    virtual ~KeyerEntry() = default;

    virtual QString callsign() const = 0;           // callsignEdit
    virtual QString rstSent() const = 0;            // rstSentEdit
    virtual QString exchangeFirst() const = 0;      // sentSerialEdit: serial number or fixed exchange
    virtual QString exchangeSecond() const = 0;     // sentFixedPartEdit
    virtual QString receivedExchange() const = 0;   // receivedExchangeEdit
    virtual bool dupeShown() const = 0;             // the "QSO powtórzone" panel
    virtual Mode mode() const = 0;                  // the mode box
    virtual QString contestCallsign() const = 0;    // operator data
    virtual std::optional<Qso> lastQso() const = 0; // the last contact of the sorted log
    virtual AnalysisOptions analysis() const = 0;
    // The call-info entry ("CALL;county;locator") of a worked callsign.
    virtual std::optional<QString> callInfo(const QString& call) const = 0;
    // Whether the exchange macros send the fields (the contact being worked) rather than the last contact's
    // exchange again: in the entry window once a callsign is typed.
    virtual bool exchangeFromFields() const { return !callsign().isEmpty(); }

    virtual bool callsignHasFocus() const = 0;
    virtual void setReceivedExchange(const QString& text) = 0;
    virtual void focusReceivedExchange() = 0;
    virtual void focusCallsign() = 0;
    // The focus moves on to the next control in tab order.
    virtual void focusNext() = 0;
    // The "Dodaj QSO do logu" action.
    virtual void addQso() = 0;
    // F11: clear the callsign and received-exchange fields and focus the callsign.
    virtual void clearCallAndReceived() = 0;
    // Phone modes play the buffer's WAV file instead of keying (the voice keyer).
    virtual void playBufferWav(int buffer, const QString& file) {
        Q_UNUSED(buffer);
        Q_UNUSED(file);
    }
    virtual void stopVoice() {}
};

// Entry values held in plain fields: kvrlog-cli and the tests.
class PlainKeyerEntry : public KeyerEntry {
public:
    QString call, rst = QStringLiteral("599"), first, second, received, contestCall;
    Mode modeValue = Mode::cw();
    std::optional<Qso> last;
    bool dupe = false;
    bool callFocused = true;
    AnalysisOptions options;
    QStringList calls, infos;
    int addQsoCount = 0;
    int focusNextCount = 0;
    int clearCount = 0;
    QList<int> wavBuffers;
    QString focused = QStringLiteral("callsignEdit");

    QString callsign() const override { return call; }
    QString rstSent() const override { return rst; }
    QString exchangeFirst() const override { return first; }
    QString exchangeSecond() const override { return second; }
    QString receivedExchange() const override { return received; }
    bool dupeShown() const override { return dupe; }
    Mode mode() const override { return modeValue; }
    QString contestCallsign() const override { return contestCall; }
    std::optional<Qso> lastQso() const override { return last; }
    AnalysisOptions analysis() const override { return options; }
    std::optional<QString> callInfo(const QString& c) const override {
        const qsizetype i = calls.indexOf(c);
        return i >= 0 && i < infos.size() ? std::optional<QString>(infos.at(i)) : std::nullopt;
    }
    bool callsignHasFocus() const override { return callFocused; }
    void setReceivedExchange(const QString& text) override { received = text; }
    void focusReceivedExchange() override {
        callFocused = false;
        focused = QStringLiteral("receivedExchangeEdit");
    }
    void focusCallsign() override {
        callFocused = true;
        focused = QStringLiteral("callsignEdit");
    }
    void focusNext() override { ++focusNextCount; }
    void addQso() override { ++addQsoCount; }
    void clearCallAndReceived() override {
        call.clear();
        received.clear();
        ++clearCount;
        focusCallsign();
    }
    void playBufferWav(int buffer, const QString& file) override {
        Q_UNUSED(file);
        wavBuffers.append(buffer);
    }
};
