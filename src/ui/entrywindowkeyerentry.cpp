#include "entrywindowkeyerentry.h"

#include "keyer/voicekeyer.h"
#include "log/logsession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>

namespace {
QString textOf(const QLineEdit* edit) {
    return edit ? edit->text() : QString();
}
} // namespace

QString EntryWindowKeyerEntry::callsign() const {
    return textOf(m_fields.callsignEdit);
}
QString EntryWindowKeyerEntry::rstSent() const {
    return textOf(m_fields.rstSentEdit);
}
QString EntryWindowKeyerEntry::exchangeFirst() const {
    return textOf(m_fields.sentSerialEdit);
}
QString EntryWindowKeyerEntry::exchangeSecond() const {
    return textOf(m_fields.sentFixedPartEdit);
}
QString EntryWindowKeyerEntry::receivedExchange() const {
    return textOf(m_fields.receivedExchangeEdit);
}
bool EntryWindowKeyerEntry::dupeShown() const {
    return m_fields.dupeLabel && m_fields.dupeLabel->isVisible();
}
Mode EntryWindowKeyerEntry::mode() const {
    return m_session.currentMode();
}
QString EntryWindowKeyerEntry::contestCallsign() const {
    return m_session.operatorData.contestCall;
}
std::optional<Qso> EntryWindowKeyerEntry::lastQso() const {
    return m_session.log().lastQso();
}
AnalysisOptions EntryWindowKeyerEntry::analysis() const {
    return m_session.analysis;
}
std::optional<QString> EntryWindowKeyerEntry::callInfo(const QString& call) const {
    const WorkedCalls& worked = m_session.log().workedCalls();
    const qsizetype index = worked.indexOf(call);
    if (index < 0)
        return std::nullopt;
    return worked.info(index).toString();
}
bool EntryWindowKeyerEntry::callsignHasFocus() const {
    return m_fields.callsignEdit && m_fields.callsignEdit->hasFocus();
}
void EntryWindowKeyerEntry::setReceivedExchange(const QString& text) {
    if (m_fields.receivedExchangeEdit)
        m_fields.receivedExchangeEdit->setText(text);
}
void EntryWindowKeyerEntry::focusReceivedExchange() {
    if (m_fields.receivedExchangeEdit) {
        m_fields.receivedExchangeEdit->setFocus(Qt::OtherFocusReason);
        m_fields.receivedExchangeEdit->deselect();
    }
}
void EntryWindowKeyerEntry::focusCallsign() {
    if (m_fields.callsignEdit)
        m_fields.callsignEdit->setFocus(Qt::OtherFocusReason);
}
void EntryWindowKeyerEntry::focusNext() {
    QWidget* current = QApplication::focusWidget();
    if (!current)
        return;
    for (QWidget* next = current->nextInFocusChain(); next && next != current; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
void EntryWindowKeyerEntry::addQso() {
    if (m_fields.logQsoButton && m_fields.logQsoButton->isEnabled())
        m_fields.logQsoButton->click();
}
void EntryWindowKeyerEntry::clearCallAndReceived() {
    if (m_fields.callsignEdit)
        m_fields.callsignEdit->clear();
    if (m_fields.receivedExchangeEdit)
        m_fields.receivedExchangeEdit->clear();
    focusCallsign();
}

void EntryWindowKeyerEntry::playBufferWav(int buffer, const QString& file) {
    Q_UNUSED(file);
    if (m_voice)
        m_voice->play(buffer);
}

void EntryWindowKeyerEntry::stopVoice() {
    if (m_voice)
        m_voice->stop();
}
