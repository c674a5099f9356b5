#pragma once

#include "log/analysishandlers.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ExchangeAnalysisDialog;
}
class LogSession;

// "Analiza odebranej grupy kontrolnej": the analysis mode, the same-locator distance and the two switches.
// The rules run in AnalysisHandlers; the dialog shows the session's options and passes on the effects.
class ExchangeAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExchangeAnalysisDialog(LogSession& session, QWidget* parent = nullptr);
    ~ExchangeAnalysisDialog() override;

    // Ticks the controls to match the session's options.
    void syncFromSession();
    void applyEffect(const AnalysisHandlers::Effect& effect);

signals:
    // Show and tick (true) or hide and untick (false) the logged-counties window and its view item.
    void countiesWindowRequested(bool visible);
    // The fixed part of the sent exchange (sentFixedPartEdit of the entry window) becomes text.
    void sentFixedPartChanged(const QString& text);

public slots:
    void onCountyModeChosen();
    void onLocatorModeChosen();
    void onAnalysisToggled();
    void onCountiesAllModesToggled();
    // "ODX z własnym lokatorem".
    void onSameLocatorKmChanged(int km);
    // The entry window chose a VHF band: locator mode with the analysis on.
    void onVhfBandChosen();
    // The caption of the locator mode button for this own locator.
    void setLocatorCaption(const QString& locator);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::ExchangeAnalysisDialog> m_ui;
    LogSession& m_session;
};
