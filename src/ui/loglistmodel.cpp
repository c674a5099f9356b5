#include "loglistmodel.h"

#include "contest/contestsession.h"
#include "log/logbook.h"

#include <QColor>

LogListModel::LogListModel(const LogBook& log, QObject* parent) : QAbstractListModel(parent), m_log(log) {}

int LogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_log.size());
}

QVariant LogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_log.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_log.line(index.row());
    if ((role == Qt::ForegroundRole || role == Qt::FontRole) && m_contest && m_contest->score()) {
        const std::vector<ContactScore>& scores = m_contest->score()->contactScores();
        // Until the score has counted a contact just logged, its row wears no mark.
        if (size_t(index.row()) >= scores.size())
            return {};
        const ContactScore& score = scores[size_t(index.row())];
        if (role == Qt::ForegroundRole && score.countsNothing())
            return QColor(Qt::gray);
        if (role == Qt::FontRole && !score.newMultipliers.isEmpty())
            return m_boldFont;
    }
    return {};
}

void LogListModel::setContest(const ContestSession* contest, const QFont& font) {
    m_contest = contest;
    m_boldFont = font;
    m_boldFont.setBold(true);
    marksChanged();
}

void LogListModel::marksChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole, Qt::FontRole});
}

void LogListModel::reset() {
    beginResetModel();
    endResetModel();
}

void LogListModel::rowInserted(qsizetype row) {
    beginInsertRows({}, int(row), int(row));
    endInsertRows();
}
