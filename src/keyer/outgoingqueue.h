#pragma once

#include <QString>

#include <functional>
#include <mutex>
#include <optional>

// The outgoing text (outgoingTextEdit): the window appends and edits it, the sender takes characters from its front.
// One lock guards it; every change is reported with the new text, outside the lock.
class OutgoingQueue {
public:
    QString text() const;
    bool isEmpty() const;
    void append(const QString& text);
    // Appends only while text is waiting, atomically with the sender's taking: false when the queue ran empty.
    bool appendIfNotEmpty(const QString& text);
    void replace(const QString& text);
    void clear();
    std::optional<QChar> takeFirst();

    std::function<void(const QString&)> changed;

private:
    void notify(const QString& text);
    mutable std::mutex m_mutex;
    QString m_text;
};
