#include "tform22.h"

#include "analysis/locator.h"
#include "core/logsession.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "ui_tform22.h"

#include <QFocusEvent>

TForm22::TForm22(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm22>()), m_session(session) {
    m_ui->setupUi(this);
    m_ui->Edit9->hide();
    // The callsign and the locator are kept in upper case as typed.
    for (QLineEdit* edit : {m_ui->Edit1, m_ui->Edit10}) {
        connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
            const QString upper = text.toUpper();
            if (upper != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(upper);
                edit->setCursorPosition(cursor);
            }
        });
    }
    m_ui->Edit10->installEventFilter(this);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm22::Button3Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
    FormCreate();
}

TForm22::~TForm22() = default;

void TForm22::FormCreate() {
    const IniFile settings(m_session.settingsPath());
    if (!settings.exists()) {
        showFields(m_session.operatorData);
        return;
    }
    m_session.operatorData = OperatorData::read(settings);
    showFields(m_session.operatorData);
    m_ui->Edit9->setText(settings.readString(QStringLiteral("Cabrillo"), QStringLiteral("Zawody"), QString()));
    if (!m_session.operatorData.locator.isEmpty())
        emit locatorCaptionChanged(m_session.operatorData.locator);
}

void TForm22::showFields(const OperatorData& d) {
    m_ui->Edit1->setText(d.contestCall);
    m_ui->Edit2->setText(d.name);
    m_ui->Edit3->setText(d.email);
    m_ui->Edit4->setText(d.address1);
    m_ui->Edit5->setText(d.address2);
    m_ui->Edit6->setText(d.town);
    m_ui->Edit13->setText(d.postcode);
    m_ui->Edit10->setText(d.locator);
    m_ui->Edit7->setText(d.operatorCall);
}

OperatorData TForm22::fields() const {
    OperatorData d;
    d.contestCall = m_ui->Edit1->text();
    d.name = m_ui->Edit2->text();
    d.email = m_ui->Edit3->text();
    d.address1 = m_ui->Edit4->text();
    d.address2 = m_ui->Edit5->text();
    d.town = m_ui->Edit6->text();
    d.postcode = m_ui->Edit13->text();
    d.locator = m_ui->Edit10->text();
    d.operatorCall = m_ui->Edit7->text();
    return d;
}

QString TForm22::contestName() const {
    return m_ui->Edit9->text();
}

bool TForm22::Edit10Exit() {
    const QString locator = m_ui->Edit10->text();
    if (!locator.isEmpty() && LocatorInvalid(locator)) {
        m_session.dialogs().error(QStringLiteral("Został wprowadzony niepoprawny lokator !!"));
        m_ui->Edit10->setFocus();
        return false;
    }
    emit locatorCaptionChanged(locator);
    return true;
}

void TForm22::Button3Click() {
    // An invalid locator never becomes the reference point of the distances.
    if (!Edit10Exit())
        return;
    m_session.operatorData = fields();
    IniFile settings(m_session.settingsPath());
    m_session.operatorData.write(settings);
    accept();
}

void TForm22::Button1Click() {
    reject();
}

bool TForm22::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->Edit10 && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another program is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Edit10Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm22::showEvent(QShowEvent* event) {
    // The analysis dialog may have asked for the own locator since the dialog was last shown.
    if (m_ui->Edit10->text() != m_session.operatorData.locator)
        m_ui->Edit10->setText(m_session.operatorData.locator);
    QDialog::showEvent(event);
}

void TForm22::done(int result) {
    // Leaving without saving keeps the own locator in use: the locator option must not name an edited one.
    if (result == QDialog::Rejected && m_ui->Edit10->text() != m_session.operatorData.locator)
        emit locatorCaptionChanged(m_session.operatorData.locator);
    QDialog::done(result);
    emit callsignFocusRequested();
}
