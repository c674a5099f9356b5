#pragma once

#include <QAbstractListModel>

class LogBook;

// The log window's rows straight from the in-memory log: one reset per reload, so even a large log is shown
// at once and scrolls without copying a line.
class LogListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LogListModel(const LogBook& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The log was rebuilt.
    void reset();
    // A line is already in the log at row.
    void rowInserted(qsizetype row);

private:
    const LogBook& m_log;
};
