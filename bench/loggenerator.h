#pragma once

#include <QString>
#include <QStringList>

// Writes realistic contest logs for benchmarks: mixed bands and modes, some dupes, county and locator
// exchanges, VHF serials with the own locator.
namespace LogGenerator {
QStringList lines(int count, unsigned seed = 1);
QString write(const QString& path, int count, unsigned seed = 1);
} // namespace LogGenerator

// Resident and peak memory of this process in kilobytes (Linux /proc), 0 elsewhere.
qint64 residentKb();
qint64 peakResidentKb();
