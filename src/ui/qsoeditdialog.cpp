#include "qsoeditdialog.h"

#include "log/logsession.h"
#include "ui_qsoeditdialog.h"
#include "uppercaseinput.h"

#include <QFontDatabase>

QsoEditDialog::QsoEditDialog(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::QsoEditDialog>()), m_session(session) {
    m_ui->setupUi(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->columnHeader->setColumnFont(fixed);
    m_ui->columnHeader->setShowOther(false);
    const int charWidth = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0'));
    for (QLineEdit* edit : edits()) {
        edit->setFont(fixed);
        edit->setMinimumWidth(charWidth * edit->maxLength() + 10);
        // The fields hold upper case only, as the log does.
        forceUpperCase(edit);
        connect(edit, &QLineEdit::returnPressed, this, &QsoEditDialog::saveQso);
    }
    connect(m_ui->okButton, &QPushButton::clicked, this, &QsoEditDialog::saveQso);
}

QsoEditDialog::~QsoEditDialog() = default;

QList<QLineEdit*> QsoEditDialog::edits() const {
    return {m_ui->dateEdit,     m_ui->timeEdit,        m_ui->bandEdit,
            m_ui->modeEdit,     m_ui->rstSentEdit,     m_ui->sentExchangeEdit,
            m_ui->callsignEdit, m_ui->rstReceivedEdit, m_ui->receivedExchangeEdit};
}

void QsoEditDialog::setQso(qsizetype row) {
    m_row = row;
    m_result = {};
    const EditedQso f = EditedQso::fromQso(m_session.log().qso(row));
    m_ui->dateEdit->setText(f.date);
    m_ui->timeEdit->setText(f.time);
    m_ui->bandEdit->setText(f.band);
    m_ui->modeEdit->setText(f.modeCode);
    m_ui->rstSentEdit->setText(f.rstSent);
    m_ui->sentExchangeEdit->setText(f.stx);
    m_ui->callsignEdit->setText(f.call);
    m_ui->rstReceivedEdit->setText(f.rstRcvd);
    m_ui->receivedExchangeEdit->setText(f.srx);
}

EditedQso QsoEditDialog::fields() const {
    EditedQso f;
    f.date = m_ui->dateEdit->text();
    f.time = m_ui->timeEdit->text();
    f.band = m_ui->bandEdit->text();
    f.modeCode = m_ui->modeEdit->text();
    f.rstSent = m_ui->rstSentEdit->text();
    f.stx = m_ui->sentExchangeEdit->text();
    f.call = m_ui->callsignEdit->text();
    f.rstRcvd = m_ui->rstReceivedEdit->text();
    f.srx = m_ui->receivedExchangeEdit->text();
    return f;
}

void QsoEditDialog::saveQso() {
    m_result = LogEdit::SaveEditedQso(m_session, m_row, fields());
    accept();
}

void QsoEditDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_ui->receivedExchangeEdit->setFocus();
}
