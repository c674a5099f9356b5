#include "loggedcallswindow.h"

#include "ui_loggedcallswindow.h"

#include <QKeyEvent>
#include <QStringListModel>

LoggedCallsWindow::LoggedCallsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), m_ui(std::make_unique<Ui::LoggedCallsWindow>()), m_model(new QStringListModel(this)) {
    m_ui->setupUi(this);
    m_layout.emplace(this, m_ui->callList, SettingsKeys::WindowSection::LoggedCalls);
    m_ui->callList->setModel(m_model);
    m_ui->callList->installEventFilter(this);
    fitColumns();
}

LoggedCallsWindow::~LoggedCallsWindow() = default;

void LoggedCallsWindow::setCalls(const QStringList& calls) {
    m_model->setStringList(calls);
}

QStringList LoggedCallsWindow::calls() const {
    return m_model->stringList();
}

void LoggedCallsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitColumns();
}

// As many columns as 80-pixel strips fit into the window.
void LoggedCallsWindow::fitColumns() {
    const int width = m_ui->callList->viewport()->width();
    const int columns = std::max(1, width / 80);
    m_ui->callList->setGridSize(QSize(width / columns, m_ui->callList->fontMetrics().height() + 2));
}

bool LoggedCallsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->callList && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Home) {
        emit returnToCallsign();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
