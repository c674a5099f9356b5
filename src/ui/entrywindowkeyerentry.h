#pragma once

#include "keyer/keyerentry.h"

class LogSession;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;
class VoiceKeyer;

// The keyer's view of the main window's entry fields: the window hands over its controls, the keyer reads
// and focuses them on the window thread.
class EntryWindowKeyerEntry final : public KeyerEntry {
public:
    struct Fields {
        QLineEdit* callsignEdit = nullptr;
        QLineEdit* rstSentEdit = nullptr;
        QLineEdit* receivedExchangeEdit = nullptr;
        QLineEdit* sentSerialEdit = nullptr;     // sent exchange, first part
        QLineEdit* sentFixedPartEdit = nullptr;  // sent exchange, second part
        QWidget* dupeLabel = nullptr;            // "QSO powtórzone", shown for a dupe
        QAbstractButton* logQsoButton = nullptr; // "Dodaj QSO do logu"
    };

    EntryWindowKeyerEntry(LogSession& session, Fields fields) : m_session(session), m_fields(fields) {}

    QString callsign() const override;
    QString rstSent() const override;
    QString exchangeFirst() const override;
    QString exchangeSecond() const override;
    QString receivedExchange() const override;
    bool dupeShown() const override;
    Mode mode() const override;
    QString contestCallsign() const override;
    std::optional<Qso> lastQso() const override;
    AnalysisOptions analysis() const override;
    std::optional<QString> callInfo(const QString& call) const override;
    bool callsignHasFocus() const override;
    void setReceivedExchange(const QString& text) override;
    void focusReceivedExchange() override;
    void focusCallsign() override;
    void focusNext() override;
    void addQso() override;
    void clearCallAndReceived() override;
    void playBufferWav(int buffer, const QString& file) override;
    void stopVoice() override;

    // The voice keyer the phone modes' buffer keys play through.
    void setVoiceKeyer(VoiceKeyer* voice) { m_voice = voice; }

private:
    LogSession& m_session;
    Fields m_fields;
    VoiceKeyer* m_voice = nullptr;
};
