#pragma once

#include "keyer/morseengine.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KeyerSettingsDialog;
}
class KeyerSetup;
class QAbstractButton;
struct EntryOptions;

// "Konfiguracja programu": every keyer setting, the process priority and the UTC options. Each control takes
// effect as soon as it changes (there is no cancel); the settings are written when the main window closes,
// the calibration factor when a calibration ends.
class KeyerSettingsDialog : public QDialog {
    Q_OBJECT
public:
    KeyerSettingsDialog(KeyerSetup& setup, const EntryOptions& entryOptions, QWidget* parent = nullptr);
    ~KeyerSettingsDialog() override;

    // The controls from the live settings; runs every time the window is shown.
    void showSettings();

signals:
    // "Wyłącz automatyczny czas UTC" or "Różnica czasu (lokalny - UTC)" changed.
    void utcOptionsChanged(bool manualUtc, int offsetHours);

public slots:
    void chooseNoPort();
    void chooseSerialPort();
    void chooseParallelPort();
    void onSerialPortChosen(int index);
    void onParallelPortChosen(int index);
    // A keying test keys while its button is held down and stops when it is let go.
    void startKeyingTest();
    void calibrate();
    void chooseKeyer();
    void onWinkeyerPortChosen(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    void enablePortControls();
    void showKeyerStatus(const QString& text, const QString& colour);
    void showParallelPort(const QString& choice, const QString& label);
    void showRatioTexts();
    void stopKeyingTest();
    template <typename Value> void bindSetting(QObject* control, Value KeyerConfig::*field);

    std::unique_ptr<Ui::KeyerSettingsDialog> m_ui;
    KeyerSetup& m_setup;
    const EntryOptions& m_entryOptions;
    QString m_procRoot = QStringLiteral("/proc/sys/dev/parport");
    QString m_devRoot = QStringLiteral("/dev");
};
