#include "tfpowiaty.h"

#include "core/logsession.h"
#include "settings/inifile.h"
#include "settings/windowsettings.h"
#include "ui_tfpowiaty.h"
#include "widgetdialogs.h"

namespace {
const QString kSection = QStringLiteral("Powiaty");
}

TFPowiaty::TFPowiaty(LogSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TFPowiaty>()), m_session(session) {
    m_ui->setupUi(this);
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
    return specFromFont(m_ui->ListBox1->font(), m_fontColour);
}

void TFPowiaty::setListFont(const FontSpec& font) {
    m_ui->ListBox1->setFont(fontFromSpec(font));
    m_fontColour = font.colour;
    QPalette palette = m_ui->ListBox1->palette();
    palette.setColor(QPalette::Text, colourFromWindows(font.colour));
    m_ui->ListBox1->setPalette(palette);
}

int TFPowiaty::backgroundColour() const {
    return colourToWindows(m_ui->ListBox1->palette().color(QPalette::Base));
}

void TFPowiaty::setBackgroundColour(int colour) {
    QPalette palette = m_ui->ListBox1->palette();
    palette.setColor(QPalette::Base, colourFromWindows(colour));
    m_ui->ListBox1->setPalette(palette);
}

void TFPowiaty::readSettings(const IniFile& settings) {
    const WindowSettings w = WindowSettings::read(settings, kSection, {});
    move(w.x.value_or(x()), w.y.value_or(y()));
    resize(w.width.value_or(width()), w.height.value_or(height()));
    if (w.font)
        setListFont(*w.font);
    if (w.background)
        setBackgroundColour(*w.background);
}

void TFPowiaty::writeSettings(IniFile& settings) const {
    WindowSettings w;
    w.x = x();
    w.y = y();
    w.width = width();
    w.height = height();
    w.font = listFont();
    w.background = backgroundColour();
    w.write(settings, kSection);
}
