#pragma once

#include "keyer/manualcw.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ManualCwDialog;
}
class MorseEngine;

// "Nadawanie CW (ESC - wyjście)": what the operator types is keyed character by character, with PTT held while
// the window is open. Esc closes it (the focus goes back to the entry field entered last); a buffer key closes it
// and starts the buffer.
class ManualCwDialog : public QDialog {
    Q_OBJECT
public:
    explicit ManualCwDialog(MorseEngine& engine, QWidget* parent = nullptr);
    ~ManualCwDialog() override;

    // How the window was left: Esc, or a buffer key (buffer() and fullDigitsOnce() say which).
    enum class Ending { Escape, Buffer };
    Ending ending() const { return m_ending; }
    int buffer() const { return m_buffer; }
    bool fullDigitsOnce() const { return m_fullDigitsOnce; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void onTextEdited(const QString& text);
    void clearText();

    std::unique_ptr<Ui::ManualCwDialog> m_ui;
    MorseEngine& m_engine;
    ManualCw m_manual;
    Ending m_ending = Ending::Escape;
    int m_buffer = 0;
    bool m_fullDigitsOnce = false;
    bool m_open = false;
};
