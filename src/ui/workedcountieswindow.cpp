#include "workedcountieswindow.h"

#include "log/logsession.h"
#include "settings/inifile.h"
#include "ui_workedcountieswindow.h"

WorkedCountiesWindow::WorkedCountiesWindow(LogSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::WorkedCountiesWindow>()), m_session(session) {
    m_ui->setupUi(this);
    m_layout.emplace(this, m_ui->countyList, SettingsKeys::WindowSection::WorkedCounties);
    connect(&m_session, &LogSession::logReloaded, this, &WorkedCountiesWindow::refresh);
    connect(&m_session, &LogSession::loggedCountiesChanged, this, &WorkedCountiesWindow::refresh);
    connect(&m_session, &LogSession::qsoAdded, this, &WorkedCountiesWindow::refresh);
    refresh();
}

WorkedCountiesWindow::~WorkedCountiesWindow() = default;

void WorkedCountiesWindow::refresh() {
    m_ui->countyList->clear();
    m_ui->countyList->addItems(m_session.log().loggedCountyList());
    setWindowTitle(m_session.loggedCountiesCaption());
}

QStringList WorkedCountiesWindow::counties() const {
    QStringList list;
    for (int i = 0; i < m_ui->countyList->count(); ++i)
        list.append(m_ui->countyList->item(i)->text());
    return list;
}

FontSpec WorkedCountiesWindow::listFont() const {
    return m_layout->listFont();
}

void WorkedCountiesWindow::setListFont(const FontSpec& font) {
    m_layout->setListFont(font);
}

int WorkedCountiesWindow::backgroundColour() const {
    return m_layout->backgroundColour();
}

void WorkedCountiesWindow::setBackgroundColour(int colour) {
    m_layout->setBackgroundColour(colour);
}

void WorkedCountiesWindow::readSettings(const IniFile& settings) {
    m_layout->readSettings(settings);
}

void WorkedCountiesWindow::writeSettings(IniFile& settings) const {
    m_layout->writeSettings(settings);
}
