#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builds master callsign databases (.dta) from readable lists of callsigns, for tests and benchmarks: every
// callsign is filed under each pair of adjacent known characters it contains, a blank stored as "_".
namespace DtaWriter {

QByteArray build(const QStringList& callsigns);
bool write(const QString& path, const QStringList& callsigns);

// Reads a list of callsigns (one a line; "#" comments and blank lines skipped).
QStringList readCallList(const QString& path);

// Header helpers for hand-made hostile files.
QByteArray header(const QList<quint32>& entries);
void putEntry(QByteArray& file, int index, quint32 value);

} // namespace DtaWriter
