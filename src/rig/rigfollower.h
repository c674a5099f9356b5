#pragma once

#include "rig/rig.h"

#include <QHash>
#include <QStringList>

#include <optional>

// What the program and the radio do with each other's changes. A reading whose frequency moved out of the
// program's band, or whose mode changed to another of the program's modes, selects that band or mode as the
// operator's own change would. In both-ways mode the operator's band or mode change tunes the radio. A reading
// taken before the radio carried out the last tuning command is stale and skipped, so the band the operator
// just chose is not undone by the radio's old frequency.
class RigFollower {
public:
    // What the program is to select; an empty part stays as it is.
    struct Follow {
        QString band;
        QString mode;
    };
    // What the radio is to be set to; 0 and empty stay as they are.
    struct Tune {
        qint64 frequencyHz = 0;
        QString mode;
        bool empty() const { return frequencyHz == 0 && mode.isEmpty(); }
    };
    // The program's band and mode now and what its lists offer (WARC bands, digital modes).
    struct Program {
        QString band;
        QString mode;
        QStringList bands;
        QStringList modes;
    };

    void setBothWays(bool on) { m_bothWays = on; }
    bool bothWays() const { return m_bothWays; }

    // A reading taken after `tuned` tuning commands had been carried out.
    Follow reading(const RigReading& reading, quint64 tuned, const Program& program);
    // The operator chose a band or a mode (also the echo of a change that followed the radio).
    Tune bandChosen(const QString& band, const QString& mode) const;
    Tune modeChosen(const QString& mode, const QString& band) const;
    // The tuning command with this sequence number went to the radio; readings before it are stale.
    void tuneSent(quint64 sequence) { m_awaited = std::max(m_awaited, sequence); }
    // The connection was lost: the first reading after it is news again.
    void reset() { m_last.reset(); }
    std::optional<RigReading> lastReading() const { return m_last; }

private:
    bool fits(const QString& rigMode, const QString& mode, const QString& band) const;

    bool m_bothWays = false;
    std::optional<RigReading> m_last;
    quint64 m_awaited = 0;
    // The last frequency the radio had on each band in each of the program's modes ("20M/SSB").
    QHash<QString, qint64> m_lastFrequency;
};
