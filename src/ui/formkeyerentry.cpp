#include "formkeyerentry.h"

#include "core/logsession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>

namespace {
QString textOf(const QLineEdit* edit) {
    return edit ? edit->text() : QString();
}
} // namespace

QString FormKeyerEntry::callsign() const {
    return textOf(m_fields.Edit4);
}
QString FormKeyerEntry::rstSent() const {
    return textOf(m_fields.Edit5);
}
QString FormKeyerEntry::exchangeFirst() const {
    return textOf(m_fields.Edit8);
}
QString FormKeyerEntry::exchangeSecond() const {
    return textOf(m_fields.Edit9);
}
QString FormKeyerEntry::receivedExchange() const {
    return textOf(m_fields.Edit6);
}
bool FormKeyerEntry::dupeShown() const {
    return m_fields.dupePanel && m_fields.dupePanel->isVisible();
}
QString FormKeyerEntry::mode() const {
    return m_session.mode;
}
QString FormKeyerEntry::contestCallsign() const {
    return m_session.operatorData.contestCall;
}
QString FormKeyerEntry::lastLogLine() const {
    return m_session.log().lastLine();
}
AnalysisOptions FormKeyerEntry::analysis() const {
    return m_session.analysis;
}
std::optional<QString> FormKeyerEntry::callInfo(const QString& call) const {
    const WorkedCalls& worked = m_session.log().workedCalls();
    const qsizetype index = worked.indexOf(call);
    if (index < 0 || index >= worked.infos().size())
        return std::nullopt;
    return worked.infos().at(index);
}
bool FormKeyerEntry::callsignHasFocus() const {
    return m_fields.Edit4 && m_fields.Edit4->hasFocus();
}
void FormKeyerEntry::setReceivedExchange(const QString& text) {
    if (m_fields.Edit6)
        m_fields.Edit6->setText(text);
}
void FormKeyerEntry::focusReceivedExchange() {
    if (m_fields.Edit6) {
        m_fields.Edit6->setFocus(Qt::OtherFocusReason);
        m_fields.Edit6->deselect();
    }
}
void FormKeyerEntry::focusCallsign() {
    if (m_fields.Edit4)
        m_fields.Edit4->setFocus(Qt::OtherFocusReason);
}
void FormKeyerEntry::focusNext() {
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
void FormKeyerEntry::addQso() {
    if (m_fields.addQsoButton && m_fields.addQsoButton->isEnabled())
        m_fields.addQsoButton->click();
}
void FormKeyerEntry::clearCallAndReceived() {
    if (m_fields.Edit4)
        m_fields.Edit4->clear();
    if (m_fields.Edit6)
        m_fields.Edit6->clear();
    focusCallsign();
}
