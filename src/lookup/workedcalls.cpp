#include "lookup/workedcalls.h"

#include "core/textfile.h"

namespace {

// FNV-1a over the UTF-16 units; the bytes of the file hash as the characters they stand for.
constexpr quint32 kOffset = 2166136261u;
constexpr quint32 kPrime = 16777619u;

quint32 hashOf(QStringView call) {
    quint32 hash = kOffset;
    for (const QChar ch : call)
        hash = (hash ^ ch.unicode()) * kPrime;
    return hash;
}

quint32 hashOf(QByteArrayView call) {
    quint32 hash = kOffset;
    for (const char byte : call)
        hash = (hash ^ TextFile::decodeByte(byte)) * kPrime;
    return hash;
}

bool sameCall(QStringView known, QStringView call) {
    return known == call;
}

bool sameCall(QStringView known, QByteArrayView call) {
    if (known.size() != call.size())
        return false;
    for (qsizetype i = 0; i < call.size(); ++i) {
        if (known[i].unicode() != TextFile::decodeByte(call[i]))
            return false;
    }
    return true;
}

} // namespace

template <typename Text> qsizetype WorkedCalls::find(Text wanted, quint32 hash) const {
    if (m_slots.empty())
        return -1;
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const qsizetype index = qsizetype(m_slots[slot]) - 1;
        if (m_hashes[size_t(index)] == hash && sameCall(call(index), wanted))
            return index;
    }
    return -1;
}

qsizetype WorkedCalls::indexOf(QStringView call) const {
    return find(call, hashOf(call));
}

qsizetype WorkedCalls::indexOfBytes(QByteArrayView call) const {
    return find(call, hashOf(call));
}

bool WorkedCalls::add(const QString& call, const QString& info) {
    const quint32 hash = hashOf(QStringView(call));
    if (find(QStringView(call), hash) >= 0)
        return false;
    if ((m_hashes.size() + 1) * 2 > m_slots.size())
        grow(std::max<size_t>(64, m_slots.size() * 2));
    ++m_revision;
    m_callText += call;
    m_callStarts.push_back(m_callText.size());
    m_infoText += info;
    m_infoStarts.push_back(m_infoText.size());
    m_hashes.push_back(hash);
    const size_t mask = m_slots.size() - 1;
    size_t slot = hash & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = quint32(m_hashes.size());
    return true;
}

void WorkedCalls::grow(size_t slotCount) {
    m_slots.assign(slotCount, 0);
    const size_t mask = slotCount - 1;
    for (size_t index = 0; index < m_hashes.size(); ++index) {
        size_t slot = m_hashes[index] & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = quint32(index + 1);
    }
}

QStringList WorkedCalls::calls() const {
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(call(i).toString());
    return list;
}

QStringList WorkedCalls::infos() const {
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(info(i).toString());
    return list;
}

QString WorkedCalls::infoFor(QStringView call) const {
    const qsizetype i = indexOf(call);
    return i < 0 ? QString() : info(i).toString();
}

void WorkedCalls::reserve(qsizetype calls) {
    const size_t wanted = m_hashes.size() + size_t(calls);
    m_hashes.reserve(wanted);
    m_callStarts.reserve(wanted + 1);
    m_infoStarts.reserve(wanted + 1);
    size_t slotCount = std::max<size_t>(64, m_slots.size());
    while (slotCount < wanted * 2)
        slotCount *= 2;
    if (slotCount > m_slots.size())
        grow(slotCount);
}

void WorkedCalls::clear() {
    ++m_revision;
    m_callText.clear();
    m_callStarts.assign(1, 0);
    m_infoText.clear();
    m_infoStarts.assign(1, 0);
    m_hashes.clear();
    m_slots.clear();
}
