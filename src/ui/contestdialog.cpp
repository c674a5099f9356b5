#include "contestdialog.h"

#include "contest/contestsession.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "ui_contestdialog.h"

namespace {
const QString kNone = QStringLiteral("brak");
}

ContestDialog::ContestDialog(ContestSession& contest, IniFile& settings, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ContestDialog>()), m_contest(contest), m_settings(settings),
      m_dialogs(dialogs) {
    m_ui->setupUi(this);
    connect(m_ui->contestList, &QListWidget::currentRowChanged, this, &ContestDialog::showSelected);
    connect(m_ui->okButton, &QPushButton::clicked, this, &ContestDialog::chooseSelected);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ContestDialog::~ContestDialog() = default;

void ContestDialog::prepare() {
    const ContestCatalog& catalog = m_contest.rescan();
    QListWidget* list = m_ui->contestList;
    list->clear();
    // The list shows the names the operator knows; the file name is what is chosen and kept.
    auto* none = new QListWidgetItem(kNone, list);
    none->setData(Qt::UserRole, kNone);
    int current = 0;
    for (const ContestDefinition& definition : catalog.definitions) {
        auto* item = new QListWidgetItem(definition.name, list);
        item->setData(Qt::UserRole, definition.fileName);
        item->setToolTip(definition.fileName);
        if (definition.fileName == m_contest.chosenName())
            current = list->count() - 1;
    }
    list->setCurrentRow(current);
    m_ui->errorsText->setPlainText(catalog.errors.join(QLatin1Char('\n')));
    m_ui->errorsCaption->setVisible(!catalog.errors.isEmpty());
    m_ui->errorsText->setVisible(!catalog.errors.isEmpty());
    showSelected();
}

QString ContestDialog::selectedName() const {
    const QListWidgetItem* item = m_ui->contestList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : kNone;
}

void ContestDialog::showSelected() {
    const ContestDefinition* definition = m_contest.catalog().find(selectedName());
    if (!definition) {
        m_ui->descriptionText->setPlainText(QStringLiteral("Bez zawodów: log bez punktacji."));
        m_ui->ownCountryLabel->clear();
        return;
    }
    m_ui->descriptionText->setPlainText(describeContest(*definition).join(QLatin1Char('\n')));
    m_ui->ownCountryLabel->setText(m_contest.ownCountryProblem(*definition));
}

void ContestDialog::chooseSelected() {
    const QString name = selectedName();
    if (const QString refused = m_contest.choose(name); !refused.isEmpty()) {
        m_dialogs.error(refused);
        return;
    }
    if (const TextFile::Status written = m_settings.setValue(SettingsKeys::Contest::definition, name); !written)
        m_dialogs.error(written.error);
    // A country file that cannot be read is told once: the contest is scored without its country rules.
    const ContestDefinition* chosen = m_contest.definition();
    if (chosen && chosen->needsCountries() && !m_countryProblemTold && !m_contest.countryProblem().isEmpty()) {
        m_countryProblemTold = true;
        m_dialogs.message(QStringLiteral("Ostrzeżenie"), m_contest.countryProblem(), MessageIcon::Warning,
                          unsigned(DialogButton::Ok), DialogButton::Ok);
    }
    accept();
}
