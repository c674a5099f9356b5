#include "scorewindow.h"

#include "contest/contestsession.h"
#include "settings/inifile.h"
#include "ui_scorewindow.h"

#include <QCloseEvent>
#include <QHeaderView>

ScoreWindow::ScoreWindow(const ContestSession& contest, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::ScoreWindow>()), m_contest(contest) {
    m_ui->setupUi(this);
    m_ui->scoreTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_layout.emplace(this, m_ui->scoreTable, SettingsKeys::WindowSection::Score);
    connect(&m_contest, &ContestSession::contestChanged, this, &ScoreWindow::refresh);
    connect(&m_contest, &ContestSession::scoreChanged, this, &ScoreWindow::refresh);
    refresh();
}

ScoreWindow::~ScoreWindow() = default;

void ScoreWindow::setRow(int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        // Names on the left, figures on the right.
        item->setTextAlignment(column < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        m_ui->scoreTable->setItem(row, column, item);
    }
}

void ScoreWindow::refresh() {
    const ContestScore* score = m_contest.score();
    if (!score) {
        m_ui->scoreTable->setRowCount(0);
        m_ui->scoreLineLabel->setText(QStringLiteral("brak zawodów"));
        setWindowTitle(QStringLiteral("Wynik"));
        return;
    }
    const std::vector<ScoreRow> rows = score->rows();
    m_ui->scoreTable->setRowCount(int(rows.size()) + 1);
    int row = 0;
    for (const ScoreRow& r : rows) {
        setRow(row++, {r.band.name(), r.mode.name(), QString::number(r.qsos), QString::number(r.points),
                       QString::number(r.multipliers)});
    }
    const ScoreTotals totals = score->totals();
    setRow(row, {QStringLiteral("Razem"), QString(), QString::number(totals.qsos), QString::number(totals.points),
                 QString::number(totals.multipliers)});
    QFont bold = m_ui->scoreTable->font();
    bold.setBold(true);
    for (int column = 0; column < m_ui->scoreTable->columnCount(); ++column)
        m_ui->scoreTable->item(row, column)->setFont(bold);
    m_ui->scoreLineLabel->setText(score->scoreLine());
    setWindowTitle(QStringLiteral("Wynik – ") + score->definition().name);
}

void ScoreWindow::readSettings(const IniFile& settings) {
    m_layout->readSettings(settings);
}

void ScoreWindow::writeSettings(IniFile& settings) const {
    m_layout->writeSettings(settings);
}

void ScoreWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
