#include "lookup/workedcalls.h"

bool WorkedCalls::add(const QString& call, const QString& info) {
    if (m_index.contains(call))
        return false;
    ++m_revision;
    m_index.insert(call, m_calls.size());
    m_calls.append(call);
    m_infos.append(info);
    return true;
}

QString WorkedCalls::infoFor(QStringView call) const {
    const qsizetype i = indexOf(call);
    return i < 0 ? QString() : m_infos.at(i);
}

void WorkedCalls::reserve(qsizetype calls) {
    m_calls.reserve(m_calls.size() + calls);
    m_infos.reserve(m_infos.size() + calls);
    m_index.reserve(m_index.size() + calls);
}

void WorkedCalls::clear() {
    ++m_revision;
    m_calls.clear();
    m_infos.clear();
    m_index.clear();
}
