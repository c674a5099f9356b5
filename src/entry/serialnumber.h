#pragma once

#include "core/qso.h"

#include <optional>

#include <QString>
#include <QStringView>

#include <optional>

// How the serial number in the sent exchange is padded: "1", "01" or "001" (the keyer configuration's
// "Format raportu", stored as the item's index).
enum class SerialFormat { One = 0, Two = 1, Three = 2 };

namespace SerialNumber {

SerialFormat formatFromIndex(int index);
// "1", "01" or "001": the first serial of a new log.
QString first(SerialFormat format);
// 1, 2 or 3: the digits the format pads a serial to.
int digits(SerialFormat format);
// Left-pads with zeros to the format's width; a longer serial is left alone.
QString pad(QStringView serial, SerialFormat format);
bool isDigitsOnly(QStringView text);
// The serial field when "Format raportu" changes: "1" drops up to two leading zeros, "01" pads a single digit
// and drops one leading zero from three or more characters, "001" pads to three. Anything but digits is kept.
QString reformat(QStringView serial, SerialFormat format);
// The serial after this one, padded; nullopt when the text is not a number.
std::optional<QString> next(QStringView serial, SerialFormat format);
// The serial field at start-up: a stored serial at or below the one of the log's newest line is one that was
// saved before that contact went into the log (the program was killed in between); the next one follows the
// log instead, so no serial is given twice. Any other field is kept.
QString
catchUpWithLog(const QString& stored, const std::optional<Qso>& newest, bool separateVhfSerials, SerialFormat format);

} // namespace SerialNumber
