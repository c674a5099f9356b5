#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Between the radio's terms (a frequency, hamlib's mode names) and the program's bands and modes.
namespace RigMapping {

// The band a frequency lies in (the widest of the IARU regions' edges); empty outside every band of the program.
QString bandOf(qint64 hz);
// The program's mode for a radio mode: CW, SSB (USB, LSB), FM, RTTY, PSK31; empty for a mode the program has
// none for (AM, packet modes …), which leaves the program's mode as it is.
QString modeOf(const QString& rigMode);
// The radio mode for the program's mode on a band: SSB is LSB below 10 MHz and USB above, as on the air.
QString rigModeFor(const QString& mode, const QString& band);
// Where the radio is tuned on a band the operator chose when no frequency of that band is known yet: the usual
// place of the mode's contest activity. 0 for a name outside the band table.
qint64 defaultFrequency(const QString& band, const QString& mode);
// The frequency a radio reported, in whole hertz; nothing when no radio can be tuned there (not a number,
// infinite, zero or below, 1 THz or above), so a corrupt answer never becomes a band.
std::optional<qint64> frequencyFromRig(double hz);
// The reason given for such an answer.
QString impossibleFrequencyText(double hz);
// "14025.0" — the frequency in kHz with its hundreds of hertz, as shown beside the band.
QString kilohertz(qint64 hz);

} // namespace RigMapping
