#include "offlinetimefields.h"

#include "entry/entryclock.h"
#include "entry/offlinetimekeys.h"
#include "platform/userdialogs.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

OfflineTimeKeys::Section sectionOf(QDateTimeEdit::Section section) {
    switch (section) {
    case QDateTimeEdit::YearSection:
        return OfflineTimeKeys::Section::Year;
    case QDateTimeEdit::MonthSection:
        return OfflineTimeKeys::Section::Month;
    case QDateTimeEdit::DaySection:
        return OfflineTimeKeys::Section::Day;
    default:
        return OfflineTimeKeys::Section::Other;
    }
}

QDateTimeEdit::Section editSection(OfflineTimeKeys::Section section) {
    switch (section) {
    case OfflineTimeKeys::Section::Year:
        return QDateTimeEdit::YearSection;
    case OfflineTimeKeys::Section::Month:
        return QDateTimeEdit::MonthSection;
    case OfflineTimeKeys::Section::Day:
        return QDateTimeEdit::DaySection;
    case OfflineTimeKeys::Section::Other:
        break;
    }
    return QDateTimeEdit::NoSection;
}

} // namespace

OfflineTimeFields::OfflineTimeFields(QDateEdit* date, QLineEdit* time, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_date(date), m_time(time), m_dialogs(dialogs) {
    // Installed after the window's own filter, so these keys are decided here first.
    m_date->installEventFilter(this);
    m_time->installEventFilter(this);
}

void OfflineTimeFields::stepMinutes(int minutes) {
    const EntryClock::ManualTime moved = EntryClock::stepMinute({m_date->date(), m_time->text()}, minutes);
    m_time->setText(moved.time);
    m_date->setDate(moved.date);
}

bool OfflineTimeFields::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (watched == m_time)
            m_timeBefore = m_time->text();
        break;
    case QEvent::FocusOut:
        if (watched == m_time && m_time->isVisible())
            checkTime();
        break;
    default:
        break;
    }
    return false;
}

bool OfflineTimeFields::handleKey(QObject* watched, const QKeyEvent* key) {
    const auto field = watched == m_date ? OfflineTimeKeys::Field::Date : OfflineTimeKeys::Field::Time;
    switch (OfflineTimeKeys::action(field, key->key(), key->modifiers(), key->text())) {
    case OfflineTimeKeys::Action::None:
        return false;
    case OfflineTimeKeys::Action::ToCallsignAfterKeyer:
        emit keyForKeyer(key->key(), key->modifiers());
        emit callsignRequested();
        return true;
    case OfflineTimeKeys::Action::ToCallsign:
        emit callsignRequested();
        return true;
    case OfflineTimeKeys::Action::DateSeparator:
        typeDateSeparator();
        return true;
    }
    return false;
}

void OfflineTimeFields::typeDateSeparator() {
    const auto* text = m_date->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    const int at = text->hasSelectedText() ? text->selectionStart() : text->cursorPosition();
    if (const auto next = OfflineTimeKeys::sectionAfterSeparator(sectionOf(m_date->currentSection()), text->text(), at))
        m_date->setSelectedSection(editSection(*next));
}

void OfflineTimeFields::checkTime() {
    if (EntryClock::validManualTime(m_time->text()))
        return;
    m_time->setText(m_timeBefore);
    m_dialogs.error(QStringLiteral("Niewłaściwy format czasu!"));
    m_time->setFocus();
}
