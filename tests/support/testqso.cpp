#include "testqso.h"

#include "core/qsoline.h"

QString TestQso::line() const {
    QsoFields fields;
    fields.date = m_date;
    fields.time = m_time;
    fields.band = m_band;
    fields.modeCode = m_mode;
    fields.rstSent = m_rstSent;
    fields.stxFirst = m_stx;
    fields.call = m_call;
    fields.rstRcvd = m_rstRcvd;
    fields.srx = m_srx;
    return QsoLine::compose(fields) + m_suffix;
}
