#include "loglistmodel.h"

#include "log/logbook.h"

LogListModel::LogListModel(const LogBook& log, QObject* parent) : QAbstractListModel(parent), m_log(log) {}

int LogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_log.size());
}

QVariant LogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_log.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_log.line(index.row());
    return {};
}

void LogListModel::reset() {
    beginResetModel();
    endResetModel();
}

void LogListModel::rowInserted(qsizetype row) {
    beginInsertRows({}, int(row), int(row));
    endInsertRows();
}
