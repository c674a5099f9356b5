#pragma once

#include "analysis/operatordata.h"

#include <QDialog>

#include <memory>

namespace Ui {
class OperatorDataDialog;
}
class LogSession;

// "Dane Operatora": the station's identity, section "Operator" of the settings file.
class OperatorDataDialog : public QDialog {
    Q_OBJECT
public:
    explicit OperatorDataDialog(LogSession& session, QWidget* parent = nullptr);
    ~OperatorDataDialog() override;

    // Reads "Operator" and "Cabrillo" / "Zawody" when the settings file exists; the session takes the data.
    void loadOperatorData();
    OperatorData fields() const;
    QString contestName() const; // the hidden contestNameEdit

signals:
    // The locator option of the analysis dialog is to show this own locator.
    void locatorCaptionChanged(const QString& locator);
    // The dialog closed: the cursor goes to the callsign field of the entry window.
    void callsignFocusRequested();

public slots:
    // Leaving the locator field: an invalid locator is refused and the cursor stays in the field.
    bool checkLocator();
    // "OK": writes "Operator" and closes.
    void saveOperatorData();
    // "Powrót": closes without saving.
    void closeWithoutSaving();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void showFields(const OperatorData& data);

    std::unique_ptr<Ui::OperatorDataDialog> m_ui;
    LogSession& m_session;
};
