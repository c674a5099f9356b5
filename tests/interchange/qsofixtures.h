#pragma once

#include "core/qsoline.h"

// A QSO line as the entry window composes it.
inline QString qso(const QString& date,
                   const QString& time,
                   const QString& band,
                   const QString& mode,
                   const QString& call,
                   const QString& rstSent = QStringLiteral("599"),
                   const QString& stx = QStringLiteral("001"),
                   const QString& rstRcvd = QStringLiteral("599"),
                   const QString& srx = QStringLiteral("012"),
                   const QString& suffix = QString()) {
    return QsoLine::compose({date, time, band, mode, rstSent, stx, QString(), call, rstRcvd, srx}) + suffix;
}
