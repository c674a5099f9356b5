#include "manualcwdialog.h"

#include "keyer/morseengine.h"
#include "ui_manualcwdialog.h"
#include "uppercaseinput.h"

#include <QFontDatabase>
#include <QKeyEvent>

ManualCwDialog::ManualCwDialog(MorseEngine& engine, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::ManualCwDialog>()), m_engine(engine), m_manual(engine) {
    m_ui->setupUi(this);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(font.pointSize() + 2);
    m_ui->manualTextEdit->setFont(font);
    forceUpperCase(m_ui->manualTextEdit);
    m_ui->manualTextEdit->installEventFilter(this);
    connect(m_ui->manualTextEdit, &QLineEdit::textChanged, this, &ManualCwDialog::onTextEdited);
}

ManualCwDialog::~ManualCwDialog() = default;

void ManualCwDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_open) {
        m_open = true;
        m_manual.open();
    }
    m_ui->manualTextEdit->setFocus();
}

void ManualCwDialog::done(int result) {
    if (m_open) {
        m_open = false;
        m_manual.close();
    }
    QDialog::done(result);
}

void ManualCwDialog::clearText() {
    const QSignalBlocker block(m_ui->manualTextEdit);
    m_ui->manualTextEdit->clear();
    m_manual.reset();
}

void ManualCwDialog::onTextEdited(const QString& text) {
    // A stop pending since the last character: the field starts afresh and this character is not sent.
    if (m_manual.textChanged(text))
        clearText();
}

bool ManualCwDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_ui->manualTextEdit || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace) {
        m_manual.backspace();
        return false;
    }
    const ManualCw::KeyAction action = ManualCw::keyAction(key->key(), key->modifiers());
    switch (action.kind) {
    case ManualCw::KeyAction::None:
        return QDialog::eventFilter(watched, event);
    case ManualCw::KeyAction::Stop:
        m_engine.StopSending();
        return true;
    case ManualCw::KeyAction::Escape:
        m_engine.StopSending();
        clearText();
        m_ending = Ending::Escape;
        reject();
        return true;
    case ManualCw::KeyAction::Speed:
        m_engine.changeSpeedBy(action.value);
        return true;
    case ManualCw::KeyAction::Buffer:
        clearText();
        m_ending = Ending::Buffer;
        m_buffer = action.value;
        m_fullDigitsOnce = action.fullDigitsOnce;
        accept();
        return true;
    }
    return true;
}
