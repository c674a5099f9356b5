#pragma once

#include "contest/contestrate.h"

#include <QWidget>

#include <memory>

class ContestSession;
class IniFile;
class LogSession;
class QTimer;
class QChart;
namespace Ui {
class StatisticsWindow;
}

// "Statystyka": contacts per hour and band, their plot and the running claimed score, contacts per continent.
// It follows the log, but counts again only while it is shown and at most every two seconds, so logging stays
// quick on a long log.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(LogSession& session, ContestSession& contest, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    void readSettings(const IniFile& settings);
    void writeSettings(IniFile& settings) const;
    // What the tables and plots show now.
    const ContestStatistics& shown() const { return m_statistics; }

public slots:
    // Counts again now and shows the figures.
    void refresh();

signals:
    // Closed from its title bar: the view item is unticked.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The log or the score changed: counted again when the collecting timer runs out, or when next shown.
    void scheduleRefresh();
    void showHours(const std::vector<int>& bands);
    void showContactsChart(const std::vector<int>& bands);
    void showScoreChart();
    void showContinents();

    std::unique_ptr<Ui::StatisticsWindow> m_ui;
    LogSession& m_session;
    ContestSession& m_contest;
    QTimer* m_refreshTimer = nullptr;
    QChart* m_contactsChart = nullptr;
    QChart* m_scoreChart = nullptr;
    bool m_stale = true;
    ContestStatistics m_statistics;
};
