#include "statisticswindow.h"

#include "contest/contestsession.h"
#include "core/bands.h"
#include "log/logsession.h"
#include "settings/windowsettings.h"
#include "ui_statisticswindow.h"
#include "windowplacement.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QTimer>
#include <QValueAxis>

namespace {

QChartView* chartIn(QWidget* tab, QChart* chart, const QString& name) {
    auto* view = new QChartView(chart, tab);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    tab->layout()->addWidget(view);
    return view;
}

QTableWidgetItem* number(qint64 value) {
    auto* item = new QTableWidgetItem(QString::number(value));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

StatisticsWindow::StatisticsWindow(LogSession& session, ContestSession& contest, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::StatisticsWindow>()), m_session(session),
      m_contest(contest) {
    m_ui->setupUi(this);
    m_contactsChart = new QChart;
    m_contactsChart->setTitle(QStringLiteral("Łączności w godzinach (UTC)"));
    chartIn(m_ui->contactsChartTab, m_contactsChart, QStringLiteral("contactsChartView"));
    m_scoreChart = new QChart;
    m_scoreChart->setTitle(QStringLiteral("Wynik deklarowany na koniec godziny (UTC)"));
    m_scoreChart->legend()->hide();
    chartIn(m_ui->scoreChartTab, m_scoreChart, QStringLiteral("scoreChartView"));
    m_ui->continentTable->setColumnCount(2);
    m_ui->continentTable->setHorizontalHeaderLabels({QStringLiteral("Kontynent"), QStringLiteral("Łączności")});
    m_ui->continentTable->verticalHeader()->hide();

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QStringLiteral("statisticsRefreshTimer"));
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(2000);
    connect(m_refreshTimer, &QTimer::timeout, this, &StatisticsWindow::refresh);
    connect(&m_session, &LogSession::logReloaded, this, &StatisticsWindow::scheduleRefresh);
    connect(&m_session, &LogSession::qsoAdded, this, &StatisticsWindow::scheduleRefresh);
    connect(&m_contest, &ContestSession::scoreChanged, this, &StatisticsWindow::scheduleRefresh);
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::scheduleRefresh() {
    m_stale = true;
    // A hidden window counts nothing; a shown one collects the changes of two seconds into one count.
    if (isVisible() && !m_refreshTimer->isActive())
        m_refreshTimer->start();
}

void StatisticsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void StatisticsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void StatisticsWindow::refresh() {
    m_refreshTimer->stop();
    m_stale = false;
    m_statistics = gatherStatistics(m_session.log().records(), m_contest.score());
    const std::vector<int> bands = bandsWorked(m_statistics);
    showHours(bands);
    showContactsChart(bands);
    showScoreChart();
    showContinents();
}

void StatisticsWindow::showHours(const std::vector<int>& bands) {
    QTableWidget* table = m_ui->hoursTable;
    const auto all = Bands::all();
    QStringList headers;
    for (int band : bands)
        headers.append(QString::fromLatin1(all[size_t(band)].name));
    headers.append(QStringLiteral("Razem"));
    const bool scored = m_contest.isActive();
    if (scored)
        headers.append(QStringLiteral("Wynik"));
    table->clear();
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    const int rows = int(m_statistics.hours.size());
    // The last row sums the hours.
    table->setRowCount(rows == 0 ? 0 : rows + 1);
    std::vector<qint64> sums(bands.size() + 1, 0);
    QStringList hourNames;
    for (int row = 0; row < rows; ++row) {
        const HourStatistics& hour = m_statistics.hours[size_t(row)];
        hourNames.append(hour.hour.toString(QStringLiteral("yyyy-MM-dd HH:00")));
        for (size_t column = 0; column < bands.size(); ++column) {
            const int count = hour.perBand[size_t(bands[column])];
            sums[column] += count;
            table->setItem(row, int(column), number(count));
        }
        sums.back() += hour.total;
        table->setItem(row, int(bands.size()), number(hour.total));
        if (scored)
            table->setItem(row, int(bands.size()) + 1, number(hour.claimedAtEnd));
    }
    if (rows > 0) {
        hourNames.append(QStringLiteral("Razem"));
        for (size_t column = 0; column < sums.size(); ++column)
            table->setItem(rows, int(column), number(sums[column]));
        if (scored)
            table->setItem(rows, int(bands.size()) + 1, number(m_statistics.hours.back().claimedAtEnd));
    }
    table->setVerticalHeaderLabels(hourNames);
    table->resizeColumnsToContents();
}

void StatisticsWindow::showContactsChart(const std::vector<int>& bands) {
    m_contactsChart->removeAllSeries();
    // A removed axis is no longer the chart's: it is deleted here.
    for (QAbstractAxis* axis : m_contactsChart->axes()) {
        m_contactsChart->removeAxis(axis);
        delete axis;
    }
    if (m_statistics.hours.empty())
        return;
    auto* series = new QStackedBarSeries;
    const auto all = Bands::all();
    int highest = 0;
    for (const HourStatistics& hour : m_statistics.hours)
        highest = std::max(highest, hour.total);
    for (int band : bands) {
        auto* set = new QBarSet(QString::fromLatin1(all[size_t(band)].name));
        for (const HourStatistics& hour : m_statistics.hours)
            set->append(hour.perBand[size_t(band)]);
        series->append(set);
    }
    m_contactsChart->addSeries(series);
    QStringList hours;
    for (const HourStatistics& hour : m_statistics.hours)
        hours.append(hour.hour.toString(QStringLiteral("dd HH")));
    auto* hourAxis = new QBarCategoryAxis;
    hourAxis->append(hours);
    m_contactsChart->addAxis(hourAxis, Qt::AlignBottom);
    series->attachAxis(hourAxis);
    auto* countAxis = new QValueAxis;
    countAxis->setRange(0, std::max(1, highest));
    countAxis->setLabelFormat(QStringLiteral("%d"));
    m_contactsChart->addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(countAxis);
}

void StatisticsWindow::showScoreChart() {
    m_scoreChart->removeAllSeries();
    // A removed axis is no longer the chart's: it is deleted here.
    for (QAbstractAxis* axis : m_scoreChart->axes()) {
        m_scoreChart->removeAxis(axis);
        delete axis;
    }
    if (m_statistics.hours.empty() || !m_contest.isActive())
        return;
    auto* series = new QLineSeries;
    series->setName(QStringLiteral("Wynik"));
    // One point for each hour's end, on the hours of the contacts plot.
    qint64 highest = 0;
    QStringList hours;
    for (size_t i = 0; i < m_statistics.hours.size(); ++i) {
        const HourStatistics& hour = m_statistics.hours[i];
        series->append(double(i), double(hour.claimedAtEnd));
        highest = std::max(highest, hour.claimedAtEnd);
        hours.append(hour.hour.toString(QStringLiteral("dd HH")));
    }
    m_scoreChart->addSeries(series);
    auto* hourAxis = new QBarCategoryAxis;
    hourAxis->append(hours);
    m_scoreChart->addAxis(hourAxis, Qt::AlignBottom);
    series->attachAxis(hourAxis);
    auto* scoreAxis = new QValueAxis;
    scoreAxis->setRange(0, double(std::max<qint64>(1, highest)));
    scoreAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_scoreChart->addAxis(scoreAxis, Qt::AlignLeft);
    series->attachAxis(scoreAxis);
}

void StatisticsWindow::showContinents() {
    QTableWidget* table = m_ui->continentTable;
    table->setRowCount(int(m_statistics.perContinent.size()));
    int row = 0;
    for (auto it = m_statistics.perContinent.cbegin(); it != m_statistics.perContinent.cend(); ++it, ++row) {
        table->setItem(row, 0, new QTableWidgetItem(it.key()));
        table->setItem(row, 1, number(it.value()));
    }
}

void StatisticsWindow::readSettings(const IniFile& settings) {
    const WindowSettings w =
        WindowSettings::read(settings, SettingsKeys::WindowSection::Statistics, {.width = true, .font = false});
    placeWindow(this, {w.x.value_or(geometry().x()), w.y.value_or(geometry().y())},
                {w.width.value_or(width()), w.height.value_or(height())});
}

void StatisticsWindow::writeSettings(IniFile& settings) const {
    WindowSettings w;
    w.width = width();
    w.height = height();
    w.x = geometry().x();
    w.y = geometry().y();
    w.write(settings, SettingsKeys::WindowSection::Statistics);
}
