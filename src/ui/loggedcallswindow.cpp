#include "loggedcallswindow.h"

#include "ui_loggedcallswindow.h"
#include "widgetshortcut.h"

#include <QShortcut>
#include <QStringListModel>

LoggedCallsWindow::LoggedCallsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::LoggedCallsWindow>()),
      m_model(new QStringListModel(this)) {
    m_ui->setupUi(this);
    m_layout.emplace(this, m_ui->callList, SettingsKeys::WindowSection::LoggedCalls);
    m_ui->callList->setModel(m_model);
    connect(widgetShortcut(m_ui->callList, {Qt::Key_Home}), &QShortcut::activated, this,
            &LoggedCallsWindow::returnToCallsign);
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
