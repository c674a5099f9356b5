#pragma once

#include "hamlibrig.h"
#include "rig/rigsettings.h"

#include <QDialog>

#include <memory>

namespace Ui {
class RigSettingsDialog;
}
class UserDialogs;

// "Radio (CAT)": how the radio is reached (a hamlib model on a serial port, or rigctld), how often it is read,
// whether the program's band and mode changes set the radio, and the CAT choices of the keyer.
class RigSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // models: hamlib's list; ports: the serial ports offered (any other can be typed).
    RigSettingsDialog(const RigSettings& settings,
                      const QList<RigModel>& models,
                      const QStringList& ports,
                      UserDialogs& dialogs,
                      QWidget* parent = nullptr);
    ~RigSettingsDialog() override;

    RigSettings settings() const;

private slots:
    // Only the models whose maker, name or number hold every word typed stay in the list.
    void filterModels(const QString& text);
    void showConnectionChoice();
    // "OK": a connection that cannot work is refused with the reason, otherwise the dialog closes.
    void confirm();

private:
    void selectModel(int number);
    void selectSpeed(int speed);

    std::unique_ptr<Ui::RigSettingsDialog> m_ui;
    UserDialogs& m_dialogs;
    RigSettings m_initial;
};
