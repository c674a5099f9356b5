#pragma once

#include <QAbstractListModel>
#include <QFont>

class ContestSession;
class LogBook;

// The log window's rows straight from the in-memory log: one reset per reload, so even a large log is shown
// at once and scrolls without copying a line. With a contest chosen, a contact that counts for nothing is grey and
// one that brought a new multiplier bold, read from the score contact by contact as the view paints it.
class LogListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LogListModel(const LogBook& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The contest whose marks the rows wear; the font is the rows' own, made bold for a new multiplier.
    void setContest(const ContestSession* contest, const QFont& font);
    // The score changed: every row's marks may have.
    void marksChanged();

    // The log was rebuilt.
    void reset();
    // A line is already in the log at row.
    void rowInserted(qsizetype row);

private:
    const LogBook& m_log;
    const ContestSession* m_contest = nullptr;
    QFont m_boldFont;
};
