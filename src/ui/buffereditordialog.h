#pragma once

#include "keyer/messagebuffers.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class BufferEditorDialog;
}
class LogSession;
class VoiceRecorder;

// "Bufory": the editor of one message buffer, opened by the right mouse button on its button. "OK" hands the
// buffer over (bufferSaved), which stores it and writes its keys at once; "Anuluj" changes nothing.
class BufferEditorDialog : public QDialog {
    Q_OBJECT
public:
    // recorder: where "Nagraj" records; without one the button is hidden.
    explicit BufferEditorDialog(LogSession& session, VoiceRecorder* recorder = nullptr, QWidget* parent = nullptr);
    ~BufferEditorDialog() override;

    // Fills the editor for buffer number (1..12); the caption becomes "Bufor F1" … "Bufor +".
    void editBuffer(int number, const MessageBuffer& buffer);
    // What "OK" stores: the text without line breaks, upper-cased.
    MessageBuffer buffer() const;

signals:
    void bufferSaved(int number, const MessageBuffer& buffer);

public slots:
    // "Wstaw makro" and a double click on a macro: the selected macro at the caret, unless the caret lies
    // inside an unclosed "<".
    void insertMacro();
    // "Wybierz": the WAV file through the file chooser.
    void chooseWavFile();
    // "Nagraj": the first click asks for the file and starts recording from the microphone, the second ends it;
    // the recorded file becomes the buffer's WAV file.
    void onRecordClicked(bool start);
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::unique_ptr<Ui::BufferEditorDialog> m_ui;
    LogSession& m_session;
    VoiceRecorder* m_recorder;
    QString m_recording; // the file being recorded
};
