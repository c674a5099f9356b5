#include "tform2.h"

#include "core/logsession.h"
#include "interchange/cabrilloexport.h"
#include "interchange/interchangecommands.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "ui_tform2.h"
#include "uppercaseinput.h"

namespace {

// The lines of a memo: a line break after the last line starts no further, empty line.
QStringList memoLines(QString text) {
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace

TForm2::TForm2(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm2>()), m_session(session) {
    m_ui->setupUi(this);
    for (QLineEdit* edit : {m_ui->Edit1, m_ui->Edit9, m_ui->Edit10, m_ui->Edit11, m_ui->Edit8})
        forceUpperCase(edit);
    acceptDigitsOnly(m_ui->Edit7);
    m_ui->Contest1->addItems(CabrilloLists::contests());
    m_ui->ComboBox1->addItems(CabrilloLists::categoryOperator());
    m_ui->ComboBox2->addItems(CabrilloLists::transmitter());
    m_ui->ComboBox3->addItems(CabrilloLists::assisted());
    m_ui->ComboBox4->addItems(CabrilloLists::band());
    m_ui->ComboBox5->addItems(CabrilloLists::mode());
    m_ui->ComboBox6->addItems(CabrilloLists::power());
    m_ui->ComboBox7->addItems(CabrilloLists::time());
    m_ui->ComboBox8->addItems(CabrilloLists::station());
    m_ui->ComboBox9->addItems(CabrilloLists::overlay());

    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(m_ui->RadioButton1, &QRadioButton::clicked, this, &TForm2::RadioButton1Click);
    connect(m_ui->RadioButton2, &QRadioButton::clicked, this, &TForm2::RadioButton2Click);
    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->clear();
    m_ui->Memo1->clear();
    m_ui->Edit7->setText(QStringLiteral("0"));
    m_ui->Edit12->setText(QStringLiteral("DX"));
    CabrilloSettings defaults =
        CabrilloSettings::read(IniFile(m_session.settingsPath()), m_session.operatorData.operatorCall);
    applySettings(defaults);
}

void TForm2::applySettings(const CabrilloSettings& s) {
    m_ui->Edit13->setText(s.operators);
    m_ui->Edit14->setText(s.club);
    m_ui->Memo1->setPlainText(s.remarks.join(QLatin1Char('\n')));
    m_ui->Edit8->setText(s.category);
    m_ui->Edit11->setText(s.domesticContest);
    m_ui->Contest1->setCurrentIndex(s.contest);
    m_ui->ComboBox1->setCurrentIndex(s.categoryOperator);
    m_ui->ComboBox2->setCurrentIndex(s.transmitter);
    m_ui->ComboBox3->setCurrentIndex(s.assisted);
    m_ui->ComboBox4->setCurrentIndex(s.band);
    m_ui->ComboBox5->setCurrentIndex(s.mode);
    m_ui->ComboBox6->setCurrentIndex(s.power);
    m_ui->ComboBox7->setCurrentIndex(s.time);
    m_ui->ComboBox8->setCurrentIndex(s.station);
    m_ui->ComboBox9->setCurrentIndex(s.overlay);
    setVersion3(s.version3);
}

void TForm2::setVersion3(bool version3) {
    m_ui->RadioButton1->setChecked(!version3);
    m_ui->RadioButton2->setChecked(version3);
    for (QWidget* w : {static_cast<QWidget*>(m_ui->Edit11), static_cast<QWidget*>(m_ui->Label_Edit11),
                       static_cast<QWidget*>(m_ui->Edit8), static_cast<QWidget*>(m_ui->Label_Edit8)})
        w->setEnabled(!version3);
    const QList<QWidget*> international = {
        m_ui->Contest1,  m_ui->Label_Contest1,  m_ui->ComboBox1, m_ui->Label_ComboBox1,
        m_ui->ComboBox2, m_ui->Label_ComboBox2, m_ui->ComboBox3, m_ui->Label_ComboBox3,
        m_ui->ComboBox4, m_ui->Label_ComboBox4, m_ui->ComboBox5, m_ui->Label_ComboBox5,
        m_ui->ComboBox6, m_ui->Label_ComboBox6, m_ui->ComboBox7, m_ui->Label_ComboBox7,
        m_ui->ComboBox8, m_ui->Label_ComboBox8, m_ui->Edit12,    m_ui->Label_Edit12};
    for (QWidget* w : international)
        w->setEnabled(version3);
}

void TForm2::RadioButton1Click() {
    setVersion3(false);
}

void TForm2::RadioButton2Click() {
    setVersion3(true);
}

void TForm2::prepare(bool warcOption) {
    if (warcOption)
        m_session.dialogs().information(InterchangeCommands::warcSkippedMessage());
    const OperatorData& op = m_session.operatorData;
    m_ui->Edit1->setText(op.contestCall.toUpper());
    m_ui->Edit2->setText(op.name);
    m_ui->Edit3->setText(op.email);
    m_ui->Edit4->setText(op.address1);
    m_ui->Edit5->setText(op.address2);
    m_ui->Edit6->setText(InterchangeCommands::cabrilloTownLine(op));
    m_ui->Edit10->setText(op.locator.toUpper());
}

CabrilloSettings TForm2::settings() const {
    CabrilloSettings s;
    s.version3 = m_ui->RadioButton2->isChecked();
    s.contest = m_ui->Contest1->currentIndex();
    s.categoryOperator = m_ui->ComboBox1->currentIndex();
    s.transmitter = m_ui->ComboBox2->currentIndex();
    s.assisted = m_ui->ComboBox3->currentIndex();
    s.band = m_ui->ComboBox4->currentIndex();
    s.mode = m_ui->ComboBox5->currentIndex();
    s.power = m_ui->ComboBox6->currentIndex();
    s.time = m_ui->ComboBox7->currentIndex();
    s.station = m_ui->ComboBox8->currentIndex();
    s.overlay = m_ui->ComboBox9->currentIndex();
    s.operators = m_ui->Edit13->text();
    s.domesticContest = m_ui->Edit11->text();
    s.club = m_ui->Edit14->text();
    s.remarks = memoLines(m_ui->Memo1->toPlainText());
    s.category = m_ui->Edit8->text();
    return s;
}

CabrilloHeader TForm2::header() const {
    CabrilloHeader h;
    h.version3 = m_ui->RadioButton2->isChecked();
    h.contestName = m_ui->Contest1->currentText();
    h.domesticContest = m_ui->Edit11->text();
    h.callsign = m_ui->Edit1->text();
    h.category = m_ui->Edit8->text();
    h.locator = m_ui->Edit10->text();
    h.province = m_ui->Edit9->text();
    h.categoryOperator = m_ui->ComboBox1->currentText();
    h.transmitter = m_ui->ComboBox2->currentText();
    h.power = m_ui->ComboBox6->currentText();
    h.band = m_ui->ComboBox4->currentText();
    h.mode = m_ui->ComboBox5->currentText();
    h.assisted = m_ui->ComboBox3->currentText();
    h.station = m_ui->ComboBox8->currentText();
    h.time = m_ui->ComboBox7->currentIndex() > 0 ? m_ui->ComboBox7->currentText() : QString();
    h.location = m_ui->Edit12->text();
    // Typed text that is none of the list items gives no overlay line.
    const int overlay = m_ui->ComboBox9->findText(m_ui->ComboBox9->currentText());
    h.overlay = overlay > 0 ? m_ui->ComboBox9->itemText(overlay) : QString();
    h.club = m_ui->Edit14->text();
    h.claimed = m_ui->Edit7->text();
    h.operators = m_ui->Edit13->text();
    h.email = m_ui->Edit3->text();
    h.name = m_ui->Edit2->text();
    h.address1 = m_ui->Edit4->text();
    h.address2 = m_ui->Edit5->text();
    h.address3 = m_ui->Edit6->text();
    h.remarks = memoLines(m_ui->Memo1->toPlainText());
    return h;
}

void TForm2::Button3Click() {
    const std::optional<QString> path =
        InterchangeCommands::exportCabrillo(m_session, header(), m_ui->Contest1->currentIndex());
    if (!path)
        return;
    accept();
    emit exported(*path);
}

void TForm2::Button1Click() {
    reject();
}

void TForm2::FormClose() {
    IniFile ini(m_session.settingsPath());
    settings().write(ini);
}

void TForm2::done(int result) {
    FormClose();
    QDialog::done(result);
}
