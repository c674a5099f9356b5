#include "keyer/outgoingqueue.h"

QString OutgoingQueue::text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

bool OutgoingQueue::isEmpty() const {
    std::lock_guard lock(m_mutex);
    return m_text.isEmpty();
}

void OutgoingQueue::notify(const QString& text) {
    if (changed)
        changed(text);
}

void OutgoingQueue::append(const QString& text) {
    QString now;
    {
        std::lock_guard lock(m_mutex);
        m_text += text;
        now = m_text;
    }
    notify(now);
}

bool OutgoingQueue::appendIfNotEmpty(const QString& text) {
    QString now;
    {
        std::lock_guard lock(m_mutex);
        if (m_text.isEmpty())
            return false;
        m_text += text;
        now = m_text;
    }
    notify(now);
    return true;
}

void OutgoingQueue::replace(const QString& text) {
    {
        std::lock_guard lock(m_mutex);
        m_text = text;
    }
    notify(text);
}

void OutgoingQueue::clear() {
    replace(QString());
}

std::optional<QChar> OutgoingQueue::takeFirst() {
    QChar first;
    QString now;
    {
        std::lock_guard lock(m_mutex);
        if (m_text.isEmpty())
            return std::nullopt;
        first = m_text.front();
        m_text.remove(0, 1);
        now = m_text;
    }
    notify(now);
    return first;
}
