#pragma once

#include "analysis/analysishandlers.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFAnaliza_grupy;
}
class LogSession;

// "Analiza odebranej grupy kontrolnej": the analysis mode, the same-locator distance and the two switches.
// The rules run in AnalysisHandlers; the dialog shows the session's options and passes on the effects.
class TFAnaliza_grupy : public QDialog {
    Q_OBJECT
public:
    explicit TFAnaliza_grupy(LogSession& session, QWidget* parent = nullptr);
    ~TFAnaliza_grupy() override;

    // Ticks the controls to match the session's options.
    void syncFromSession();
    void applyEffect(const AnalysisHandlers::Effect& effect);

signals:
    // Show and tick (true) or hide and untick (false) the logged-counties window and its view item.
    void countiesWindowRequested(bool visible);
    // The fixed part of the sent exchange (sentFixedPartEdit of the entry window) becomes text.
    void sentFixedPartChanged(const QString& text);

public slots:
    void RadioButton1Click();
    void RadioButton3Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void Button1Click();
    // The entry window chose a VHF band: locator mode with the analysis on.
    void VhfBandChosen();
    // The caption of the locator mode button for this own locator.
    void setLocatorCaption(const QString& locator);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFAnaliza_grupy> m_ui;
    LogSession& m_session;
};
