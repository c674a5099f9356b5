#include "tform3.h"

#include "core/logsession.h"
#include "interchange/interchangecommands.h"
#include "platform/clock.h"
#include "settings/inifile.h"
#include "ui_tform3.h"
#include "uppercaseinput.h"

TForm3::TForm3(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm3>()), m_session(session) {
    m_ui->setupUi(this);
    forceUpperCase(m_ui->Edit2);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(m_ui->Edit2, &QLineEdit::editingFinished, this, &TForm3::Edit2Exit);
}

TForm3::~TForm3() = default;

void TForm3::prepare() {
    const IniFile settings(m_session.settingsPath());
    const QString contest = settings.readString(QStringLiteral("Cabrillo"), QStringLiteral("Zawody"), QString());
    m_ui->Edit3->setText(contest + QLatin1Char(' ') + QString::number(m_session.clock().now().date().year()));
    m_ui->Edit2->setText(m_session.operatorData.contestCall.toUpper());
}

void TForm3::Edit2Exit() {
    m_ui->Edit2->setText(m_ui->Edit2->text().trimmed());
}

void TForm3::Button1Click() {
    Edit2Exit();
    AdifExportOptions options = InterchangeCommands::adifOptions(m_session);
    options.comment = m_ui->Edit1->text();
    options.contest = m_ui->Edit3->text();
    options.operatorCall = m_ui->Edit2->text();
    options.sppaComment = m_ui->CheckBox1->isChecked();
    options.odxComment = m_ui->CheckBox2->isChecked();
    const std::optional<QString> path = InterchangeCommands::exportAdif(m_session, options);
    // A cancelled file choice closes the dialog as well.
    accept();
    if (path)
        emit exported(*path);
}

void TForm3::Button2Click() {
    reject();
}
