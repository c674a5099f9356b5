#pragma once

#include "keyer/keyerentry.h"

class LogSession;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

// The keyer's view of the main window's entry fields: the window hands over its controls, the keyer reads
// and focuses them on the window thread.
class FormKeyerEntry final : public KeyerEntry {
public:
    struct Fields {
        QLineEdit* Edit4 = nullptr;              // callsign
        QLineEdit* Edit5 = nullptr;              // RST sent
        QLineEdit* Edit6 = nullptr;              // received exchange
        QLineEdit* Edit8 = nullptr;              // sent exchange, first part
        QLineEdit* Edit9 = nullptr;              // sent exchange, second part
        QWidget* dupePanel = nullptr;            // "QSO powtórzone", shown for a dupe
        QAbstractButton* addQsoButton = nullptr; // "Dodaj QSO do logu"
    };

    FormKeyerEntry(LogSession& session, Fields fields) : m_session(session), m_fields(fields) {}

    QString callsign() const override;
    QString rstSent() const override;
    QString exchangeFirst() const override;
    QString exchangeSecond() const override;
    QString receivedExchange() const override;
    bool dupeShown() const override;
    QString mode() const override;
    QString contestCallsign() const override;
    QString lastLogLine() const override;
    AnalysisOptions analysis() const override;
    std::optional<QString> callInfo(const QString& call) const override;
    bool callsignHasFocus() const override;
    void setReceivedExchange(const QString& text) override;
    void focusReceivedExchange() override;
    void focusCallsign() override;
    void focusNext() override;
    void addQso() override;
    void clearCallAndReceived() override;

private:
    LogSession& m_session;
    Fields m_fields;
};
