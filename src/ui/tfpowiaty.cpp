#include "tfpowiaty.h"

#include "core/logsession.h"
#include "settings/inifile.h"
#include "ui_tfpowiaty.h"

TFPowiaty::TFPowiaty(LogSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TFPowiaty>()), m_session(session) {
    m_ui->setupUi(this);
    m_layout.emplace(this, m_ui->ListBox1, QStringLiteral("Powiaty"));
    connect(&m_session, &LogSession::logReloaded, this, &TFPowiaty::refresh);
    connect(&m_session, &LogSession::loggedCountiesChanged, this, &TFPowiaty::refresh);
    connect(&m_session, &LogSession::qsoAdded, this, &TFPowiaty::refresh);
    refresh();
}

TFPowiaty::~TFPowiaty() = default;

void TFPowiaty::refresh() {
    m_ui->ListBox1->clear();
    m_ui->ListBox1->addItems(m_session.log().loggedCountyList());
    setWindowTitle(m_session.loggedCountiesCaption());
}

QStringList TFPowiaty::counties() const {
    QStringList list;
    for (int i = 0; i < m_ui->ListBox1->count(); ++i)
        list.append(m_ui->ListBox1->item(i)->text());
    return list;
}

FontSpec TFPowiaty::listFont() const {
    return m_layout->listFont();
}

void TFPowiaty::setListFont(const FontSpec& font) {
    m_layout->setListFont(font);
}

int TFPowiaty::backgroundColour() const {
    return m_layout->backgroundColour();
}

void TFPowiaty::setBackgroundColour(int colour) {
    m_layout->setBackgroundColour(colour);
}

void TFPowiaty::readSettings(const IniFile& settings) {
    m_layout->readSettings(settings);
}

void TFPowiaty::writeSettings(IniFile& settings) const {
    m_layout->writeSettings(settings);
}
