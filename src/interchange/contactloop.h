#pragma once

#include "core/qso.h"

#include <QString>
#include <QStringList>

#include <span>

// The one loop every export file runs over the log: each contact in log order, as a typed value, handed to the
// format's writeContact, whose text becomes the next line; a contact for which it gives no text (a band the
// format leaves out) gives no line.
namespace ContactLoop {

// keep(record) picks the contacts before they are read whole, so a file of one band reads only that band's.
template <typename Keep, typename WriteContact>
void appendLines(QStringList& out, std::span<const QsoRecord> log, Keep&& keep, WriteContact&& writeContact) {
    out.reserve(out.size() + qsizetype(log.size()));
    for (const QsoRecord& record : log) {
        if (!keep(record))
            continue;
        QString text = writeContact(record.qso());
        if (!text.isEmpty())
            out.append(std::move(text));
    }
}

template <typename WriteContact>
void appendLines(QStringList& out, std::span<const QsoRecord> log, WriteContact&& writeContact) {
    appendLines(
        out, log, [](const QsoRecord&) { return true; }, std::forward<WriteContact>(writeContact));
}

// A field as its cell holds it, blank-padded or cut to the width, appended without a string of its own: the
// writers of every contact of a large log use it for the date and time.
inline void appendLeftJustified(QString& out, QStringView value, qsizetype width) {
    out += value.left(width);
    if (value.size() < width)
        out.resize(out.size() + width - value.size(), QLatin1Char(' '));
}

} // namespace ContactLoop
