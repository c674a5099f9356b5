#include "entry/outsidecontact.h"

#include "core/logfile.h"
#include "core/qso.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

#include <QFile>
#include <QFileInfo>

namespace OutsideContact {

EntryForm normalised(EntryForm form) {
    const auto withoutBlanks = [](const QString& text) { return text.toUpper().remove(QLatin1Char(' ')); };
    form.call = withoutBlanks(form.call);
    form.srx = withoutBlanks(form.srx);
    form.rstSent = form.rstSent.toUpper().left(QsoLayout::valueWidth(QsoField::RstSent));
    form.rstRcvd = form.rstRcvd.toUpper().left(QsoLayout::valueWidth(QsoField::RstRcvd));
    form.stx = form.stx.toUpper();
    form.stxFixed = withoutBlanks(form.stxFixed).left(QsoLayout::valueWidth(QsoField::Stx));
    return form;
}

} // namespace OutsideContact

std::optional<SerialReservation>
SerialReservation::reserve(IniFile& settings, const QString& serial, SerialFormat format, TextFile::Status& status) {
    status = {};
    const std::optional<QString> next = SerialNumber::next(serial, format);
    if (!next)
        return std::nullopt;
    SerialReservation reservation;
    reservation.m_settingsPath = settings.path();
    reservation.m_settingsExisted = QFileInfo::exists(reservation.m_settingsPath);
    reservation.m_settingsBefore = LogFile(reservation.m_settingsPath).snapshot();
    status = settings.setValue(SettingsKeys::Program::stx, *next);
    if (!status)
        return std::nullopt;
    return reservation;
}

void SerialReservation::release() const {
    if (!m_settingsExisted)
        QFile::remove(m_settingsPath);
    else if (m_settingsBefore)
        TextFile::writeText(m_settingsPath, *m_settingsBefore);
}
