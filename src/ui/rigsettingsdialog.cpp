#include "rigsettingsdialog.h"

#include "platform/userdialogs.h"
#include "ui_rigsettingsdialog.h"

namespace {

constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

} // namespace

RigSettingsDialog::RigSettingsDialog(const RigSettings& settings,
                                     const QList<RigModel>& models,
                                     const QStringList& ports,
                                     UserDialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::RigSettingsDialog>()), m_dialogs(dialogs), m_initial(settings) {
    m_ui->setupUi(this);
    for (const RigModel& model : models) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 %2 (%3)").arg(model.manufacturer, model.name).arg(model.number), m_ui->modelList);
        item->setData(Qt::UserRole, model.number);
    }
    m_ui->speedCombo->addItem(QStringLiteral("domyślna"), 0);
    for (const int speed : kSpeeds)
        m_ui->speedCombo->addItem(QString::number(speed), speed);
    m_ui->portCombo->addItems(ports);

    switch (settings.connection) {
    case RigSettings::Connection::None:
        m_ui->noRigRadio->setChecked(true);
        break;
    case RigSettings::Connection::Serial:
        m_ui->serialRigRadio->setChecked(true);
        break;
    case RigSettings::Connection::Rigctld:
        m_ui->rigctldRadio->setChecked(true);
        break;
    }
    selectModel(settings.model);
    m_ui->portCombo->setCurrentText(settings.port);
    selectSpeed(settings.speed);
    m_ui->rigctldAddressEdit->setText(settings.rigctldAddress);
    m_ui->pollIntervalSpin->setValue(settings.pollMs);
    m_ui->directionCombo->setCurrentIndex(settings.bothWays ? 1 : 0);
    m_ui->pttThroughRigCheck->setChecked(settings.pttThroughRig);

    connect(m_ui->modelSearchEdit, &QLineEdit::textChanged, this, &RigSettingsDialog::filterModels);
    for (QRadioButton* choice : {m_ui->noRigRadio, m_ui->serialRigRadio, m_ui->rigctldRadio})
        connect(choice, &QRadioButton::toggled, this, &RigSettingsDialog::showConnectionChoice);
    connect(m_ui->okButton, &QPushButton::clicked, this, &RigSettingsDialog::confirm);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showConnectionChoice();
}

RigSettingsDialog::~RigSettingsDialog() = default;

void RigSettingsDialog::selectModel(int number) {
    if (number <= 0)
        return;
    for (int row = 0; row < m_ui->modelList->count(); ++row) {
        if (m_ui->modelList->item(row)->data(Qt::UserRole).toInt() == number) {
            m_ui->modelList->setCurrentRow(row);
            m_ui->modelList->scrollToItem(m_ui->modelList->currentItem());
            return;
        }
    }
    // A model this hamlib does not list (the settings came from another version) is kept, not lost.
    auto* item = new QListWidgetItem(QStringLiteral("Model %1").arg(number), m_ui->modelList);
    item->setData(Qt::UserRole, number);
    m_ui->modelList->setCurrentItem(item);
}

void RigSettingsDialog::selectSpeed(int speed) {
    int at = m_ui->speedCombo->findData(speed);
    if (at < 0) {
        m_ui->speedCombo->addItem(QString::number(speed), speed);
        at = m_ui->speedCombo->count() - 1;
    }
    m_ui->speedCombo->setCurrentIndex(at);
}

void RigSettingsDialog::filterModels(const QString& text) {
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    for (int row = 0; row < m_ui->modelList->count(); ++row) {
        QListWidgetItem* item = m_ui->modelList->item(row);
        const bool shown = std::all_of(words.cbegin(), words.cend(), [item](const QString& word) {
            return item->text().contains(word, Qt::CaseInsensitive);
        });
        item->setHidden(!shown);
    }
}

void RigSettingsDialog::showConnectionChoice() {
    const bool serial = m_ui->serialRigRadio->isChecked();
    const bool rigctld = m_ui->rigctldRadio->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{m_ui->modelCaption, m_ui->modelSearchEdit, m_ui->modelList,
                                                          m_ui->portCaption, m_ui->portCombo, m_ui->speedCombo})
        field->setEnabled(serial);
    m_ui->rigctldAddressCaption->setEnabled(rigctld);
    m_ui->rigctldAddressEdit->setEnabled(rigctld);
    m_ui->operationGroup->setEnabled(serial || rigctld);
}

RigSettings RigSettingsDialog::settings() const {
    RigSettings s = m_initial;
    s.connection = m_ui->serialRigRadio->isChecked() ? RigSettings::Connection::Serial
                   : m_ui->rigctldRadio->isChecked() ? RigSettings::Connection::Rigctld
                                                     : RigSettings::Connection::None;
    if (const QListWidgetItem* model = m_ui->modelList->currentItem())
        s.model = model->data(Qt::UserRole).toInt();
    s.port = m_ui->portCombo->currentText().trimmed();
    s.speed = m_ui->speedCombo->currentData().toInt();
    s.rigctldAddress = m_ui->rigctldAddressEdit->text().trimmed();
    s.pollMs = m_ui->pollIntervalSpin->value();
    s.bothWays = m_ui->directionCombo->currentIndex() == 1;
    s.pttThroughRig = m_ui->pttThroughRigCheck->isChecked();
    return s;
}

void RigSettingsDialog::confirm() {
    const RigSettings chosen = settings();
    if (chosen.enabled()) {
        if (const auto problem = chosen.problem()) {
            m_dialogs.error(*problem);
            return;
        }
    }
    accept();
}
