#pragma once

#include "core/textfile.h"
#include "entry/addqso.h"
#include "entry/serialnumber.h"

#include <QByteArray>
#include <QString>

#include <optional>

class IniFile;

// A contact given from outside the entry window (kvrlog-cli add), held to the rules the window's fields enforce.
namespace OutsideContact {

// The fields as the entry window's would hold them: upper case, no blanks in the callsign, the received
// exchange and the fixed part of the sent exchange, the reports and the fixed part cut to their columns.
EntryForm normalised(EntryForm form);

} // namespace OutsideContact

// The next serial, stored in the settings before the contact goes into the log: a run killed in between skips a
// serial rather than giving one twice. A contact that was not stored takes it back with release(), which puts the
// settings file back as it was.
class SerialReservation {
public:
    // Nothing to reserve (nullopt without an error) when the serial is not a number.
    static std::optional<SerialReservation>
    reserve(IniFile& settings, const QString& serial, SerialFormat format, TextFile::Status& status);
    void release() const;

private:
    QString m_settingsPath;
    bool m_settingsExisted = false;
    std::optional<QByteArray> m_settingsBefore;
};
