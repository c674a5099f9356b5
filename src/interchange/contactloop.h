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

} // namespace ContactLoop
