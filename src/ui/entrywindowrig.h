#pragma once

#include "entry/rigcontrol.h"

#include <QObject>

class EntryWindow;
class KeyingInterface;
class LogSession;
class QAction;
class QLabel;

// The radio in the entry window: "Radio (CAT)" in the "Konfiguracja" menu, the frequency beside the band, the
// connection in the status line, and the band and mode changes both ways through RigControl.
class EntryWindowRig : public QObject {
    Q_OBJECT
public:
    // factory: the radio for the settings; hamlib's unless a test gives another.
    EntryWindowRig(EntryWindow& window, LogSession& session, RigControl::RigFactory factory = {});
    ~EntryWindowRig() override;

    RigControl& control() { return m_control; }
    // The keyer takes its CAT keying and PTT from the "Radio" settings.
    void setKeying(KeyingInterface* keying);
    // Reads "Radio" and connects; after the window's start-up, so the first reading meets the saved band.
    void start();

public slots:
    // "Radio (CAT)": OK writes "Radio" and connects anew.
    void openSettings();

private:
    void apply(const RigSettings& settings);
    void showStatus();
    void showFrequency(qint64 hz);

    EntryWindow& m_window;
    LogSession& m_session;
    RigControl m_control;
    KeyingInterface* m_keying = nullptr;
    QAction* m_settingsAction = nullptr;
    QLabel* m_frequencyLabel = nullptr;
    QLabel* m_statusLabel = nullptr;
};
