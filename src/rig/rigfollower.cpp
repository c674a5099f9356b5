#include "rig/rigfollower.h"

#include "rig/rigmapping.h"

namespace {

QString placeKey(const QString& band, const QString& mode) {
    return band + u'/' + mode;
}

} // namespace

RigFollower::Follow RigFollower::reading(const RigReading& reading, quint64 tuned, const Program& program) {
    if (!reading.ok() || tuned < m_awaited)
        return {};
    const bool frequencyChanged = !m_last || m_last->frequencyHz != reading.frequencyHz;
    const bool modeChanged = !m_last || m_last->mode != reading.mode;
    m_last = reading;
    const QString band = RigMapping::bandOf(reading.frequencyHz);
    const QString mode = RigMapping::modeOf(reading.mode);
    if (!band.isEmpty())
        m_lastFrequency.insert(placeKey(band, mode.isEmpty() ? program.mode : mode), reading.frequencyHz);
    Follow follow;
    if (frequencyChanged && !band.isEmpty() && band != program.band && program.bands.contains(band))
        follow.band = band;
    if (modeChanged && !mode.isEmpty() && mode != program.mode && program.modes.contains(mode))
        follow.mode = mode;
    return follow;
}

RigFollower::Tune RigFollower::bandChosen(const QString& band, const QString& mode) const {
    // Before the first reading nothing is known of the radio; a band it is on already needs no tuning, which
    // is also what keeps a change that followed the radio from going back to it.
    if (!m_bothWays || !m_last || RigMapping::bandOf(m_last->frequencyHz) == band)
        return {};
    Tune tune;
    tune.frequencyHz = m_lastFrequency.value(placeKey(band, mode), RigMapping::defaultFrequency(band, mode));
    if (!fits(m_last->mode, mode, band))
        tune.mode = RigMapping::rigModeFor(mode, band);
    return tune;
}

RigFollower::Tune RigFollower::modeChosen(const QString& mode, const QString& band) const {
    if (!m_bothWays || !m_last || fits(m_last->mode, mode, band))
        return {};
    Tune tune;
    tune.mode = RigMapping::rigModeFor(mode, band);
    return tune;
}

bool RigFollower::fits(const QString& rigMode, const QString& mode, const QString& band) const {
    if (mode == QLatin1String("SSB"))
        return rigMode == RigMapping::rigModeFor(mode, band);
    // The packet modes carry every digital mode the program has.
    if ((mode == QLatin1String("PSK31") || mode == QLatin1String("HELL")) && rigMode.startsWith(QLatin1String("PKT")))
        return true;
    return RigMapping::modeOf(rigMode) == mode;
}
