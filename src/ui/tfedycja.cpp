#include "tfedycja.h"

#include "core/logsession.h"
#include "ui_tfedycja.h"

#include <QFontDatabase>

TFEdycja::TFEdycja(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFEdycja>()), m_session(session) {
    m_ui->setupUi(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->Header->setColumnFont(fixed);
    m_ui->Header->setShowOther(false);
    const int charWidth = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0'));
    for (QLineEdit* edit : edits()) {
        edit->setFont(fixed);
        edit->setMinimumWidth(charWidth * edit->maxLength() + 10);
        // The fields hold upper case only, as the log does.
        connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
            const QString upper = text.toUpper();
            if (upper != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(upper);
                edit->setCursorPosition(cursor);
            }
        });
        connect(edit, &QLineEdit::returnPressed, this, &TFEdycja::Button1Click);
    }
    connect(m_ui->Button1, &QPushButton::clicked, this, &TFEdycja::Button1Click);
}

TFEdycja::~TFEdycja() = default;

QList<QLineEdit*> TFEdycja::edits() const {
    return {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3, m_ui->Edit4, m_ui->Edit5,
            m_ui->Edit6, m_ui->Edit7, m_ui->Edit8, m_ui->Edit9};
}

void TFEdycja::setQso(qsizetype row) {
    m_row = row;
    m_result = {};
    const EditedQso f = EditedQso::fromLine(m_session.log().line(row));
    m_ui->Edit1->setText(f.date);
    m_ui->Edit2->setText(f.time);
    m_ui->Edit3->setText(f.band);
    m_ui->Edit4->setText(f.modeCode);
    m_ui->Edit5->setText(f.rstSent);
    m_ui->Edit6->setText(f.stx);
    m_ui->Edit7->setText(f.call);
    m_ui->Edit8->setText(f.rstRcvd);
    m_ui->Edit9->setText(f.srx);
}

EditedQso TFEdycja::fields() const {
    EditedQso f;
    f.date = m_ui->Edit1->text();
    f.time = m_ui->Edit2->text();
    f.band = m_ui->Edit3->text();
    f.modeCode = m_ui->Edit4->text();
    f.rstSent = m_ui->Edit5->text();
    f.stx = m_ui->Edit6->text();
    f.call = m_ui->Edit7->text();
    f.rstRcvd = m_ui->Edit8->text();
    f.srx = m_ui->Edit9->text();
    return f;
}

void TFEdycja::Button1Click() {
    m_result = LogEdit::SaveEditedQso(m_session, m_row, fields());
    accept();
}

void TFEdycja::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_ui->Edit9->setFocus();
}
