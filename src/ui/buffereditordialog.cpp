#include "buffereditordialog.h"

#include "keyer/bufferediting.h"
#include "keyer/voicerecorder.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"
#include "ui_buffereditordialog.h"

#include <QFontDatabase>
#include <QKeyEvent>

BufferEditorDialog::BufferEditorDialog(LogSession& session, VoiceRecorder* recorder, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::BufferEditorDialog>()), m_session(session), m_recorder(recorder) {
    m_ui->setupUi(this);
    // The entries line their dashes up with blanks, which only a fixed-pitch font shows.
    m_ui->macroList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui->macroList->addItems(BufferEditing::macroEntries());
    m_ui->macroList->setCurrentRow(0);
    m_ui->bufferTextEdit->installEventFilter(this);
    connect(m_ui->insertMacroButton, &QPushButton::clicked, this, &BufferEditorDialog::insertMacro);
    connect(m_ui->macroList, &QListWidget::itemDoubleClicked, this, &BufferEditorDialog::insertMacro);
    connect(m_ui->chooseWavButton, &QPushButton::clicked, this, &BufferEditorDialog::chooseWavFile);
    connect(m_ui->okButton, &QPushButton::clicked, this, &BufferEditorDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &BufferEditorDialog::reject);
    connect(m_ui->recordButton, &QPushButton::clicked, this, &BufferEditorDialog::onRecordClicked);
    m_ui->recordButton->setVisible(m_recorder != nullptr);
    if (m_recorder) {
        m_recorder->finished = [this](bool written, const QString& error) {
            const QSignalBlocker block(m_ui->recordButton);
            m_ui->recordButton->setChecked(false);
            m_ui->recordButton->setText(QStringLiteral("Nagraj"));
            if (written)
                m_ui->wavFileEdit->setText(m_recording);
            else
                m_session.dialogs().error(error);
            m_recording.clear();
        };
    }
}

BufferEditorDialog::~BufferEditorDialog() {
    if (m_recorder)
        m_recorder->finished = nullptr;
}

void BufferEditorDialog::editBuffer(int number, const MessageBuffer& buffer) {
    setWindowTitle(MessageBuffers::editorCaption(number));
    m_ui->bufferTextEdit->setPlainText(buffer.text);
    m_ui->bufferNameEdit->setText(buffer.name);
    m_ui->wavFileEdit->setText(buffer.wavFile);
    m_ui->loopCheck->setChecked(buffer.loop);
    m_ui->macroList->setCurrentRow(0);
}

MessageBuffer BufferEditorDialog::buffer() const {
    MessageBuffer b;
    b.text = m_ui->bufferTextEdit->toPlainText().remove(u'\r').remove(u'\n').toUpper();
    b.name = m_ui->bufferNameEdit->text();
    b.wavFile = m_ui->wavFileEdit->text();
    b.loop = m_ui->loopCheck->isChecked();
    return b;
}

void BufferEditorDialog::insertMacro() {
    const QListWidgetItem* item = m_ui->macroList->currentItem();
    if (!item)
        return;
    const QString token = BufferEditing::tokenOf(item->text());
    QTextCursor cursor = m_ui->bufferTextEdit->textCursor();
    const auto inserted = BufferEditing::insertToken(m_ui->bufferTextEdit->toPlainText(), cursor.position(), token);
    if (!inserted) {
        m_session.dialogs().error(BufferEditing::insertRefusedMessage());
        m_ui->bufferTextEdit->setFocus();
        return;
    }
    cursor.insertText(token);
    m_ui->bufferTextEdit->setTextCursor(cursor);
    m_ui->bufferTextEdit->setFocus();
    if (token == QLatin1String("<MYCALL>") && m_session.operatorData.contestCall.trimmed().isEmpty())
        m_session.dialogs().message(QStringLiteral("Ostrzeżenie"),
                                    BufferEditing::myCallWarning(QStringLiteral("Nagłówek pliku Cabrillo")),
                                    MessageIcon::Warning, unsigned(DialogButton::Ok), DialogButton::Ok);
}

void BufferEditorDialog::chooseWavFile() {
    FileRequest request;
    request.title = QStringLiteral("Plik WAV");
    request.filter = QStringLiteral("Pliki WAV (*.wav);;Wszystkie pliki (*)");
    request.proposedName = m_ui->wavFileEdit->text();
    if (const auto file = m_session.openFile(request))
        m_ui->wavFileEdit->setText(*file);
}

void BufferEditorDialog::onRecordClicked(bool start) {
    if (!start) {
        m_recorder->stop();
        return;
    }
    // Without a microphone there is nothing to record: said before a name is asked for.
    if (!m_recorder->hasInput()) {
        const QSignalBlocker block(m_ui->recordButton);
        m_ui->recordButton->setChecked(false);
        m_session.dialogs().error(VoiceRecorder::noInputMessage());
        return;
    }
    FileRequest request;
    request.title = QStringLiteral("Nagraj komunikat");
    request.filter = QStringLiteral("Pliki WAV (*.wav)");
    const QString proposed = m_ui->wavFileEdit->text();
    request.proposedName =
        proposed.isEmpty() ? QStringLiteral("bufor_%1.wav").arg(windowTitle().section(u' ', 1).toLower()) : proposed;
    const std::optional<QString> chosen = m_session.saveFile(request);
    const QString file = chosen ? BufferEditing::recordingPath(*chosen) : QString();
    // Another buffer's message, or any other file, is not recorded over without the operator's yes.
    if (!chosen || (BufferEditing::recordingReplacesAnotherFile(file, proposed) &&
                    m_session.dialogs().warningYesNo(BufferEditing::recordingOverwriteQuestion(file),
                                                     DialogButton::No) != DialogButton::Yes)) {
        const QSignalBlocker block(m_ui->recordButton);
        m_ui->recordButton->setChecked(false);
        return;
    }
    m_recording = file;
    m_ui->recordButton->setText(QStringLiteral("Zatrzymaj"));
    m_recorder->record(m_recording);
}

void BufferEditorDialog::done(int result) {
    // A recording still running ends with the window.
    if (m_recorder && !m_recording.isEmpty())
        m_recorder->stop();
    QDialog::done(result);
}

void BufferEditorDialog::accept() {
    const int number = BufferEditing::bufferNumberFromCaption(windowTitle());
    if (number > 0)
        emit bufferSaved(number, buffer());
    QDialog::accept();
}

bool BufferEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    // The text is one line for the keyer: Enter does not break it.
    if (watched == m_ui->bufferTextEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void BufferEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_ui->bufferTextEdit->setFocus();
    m_ui->bufferTextEdit->moveCursor(QTextCursor::End);
}
