#include "masterfiledialog.h"

#include "log/logsession.h"
#include "lookup/masterselection.h"
#include "platform/userdialogs.h"
#include "ui_masterfiledialog.h"

#include <QFileInfo>

MasterFileDialog::MasterFileDialog(MasterSelection& master, LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::MasterFileDialog>()), m_master(master), m_session(session) {
    m_ui->setupUi(this);
    m_ui->filePathEdit->setText(master.path());
    if (!master.path().isEmpty())
        m_ui->callCountLabel->setText(master.countLabel());
    connect(m_ui->chooseButton, &QPushButton::clicked, this, &MasterFileDialog::chooseFile);
    connect(m_ui->okButton, &QPushButton::clicked, this, &MasterFileDialog::confirm);
}

MasterFileDialog::~MasterFileDialog() = default;

QString MasterFileDialog::chooserDirectory(const QString& current, const QString& programFolder) {
    if (!current.isEmpty())
        return QFileInfo(current).absolutePath();
    if (QFileInfo::exists(readyListPath()))
        return QFileInfo(readyListPath()).absolutePath();
    return programFolder;
}

void MasterFileDialog::chooseFile() {
    FileRequest request;
    request.title = QStringLiteral("Plik MASTER");
    request.directory = chooserDirectory(m_master.path(), m_session.folder().path());
    request.filter = QStringLiteral("Pliki textowe i pliki DTA (*.TXT *.DTA *.txt *.dta);;Wszystkie pliki (*)");
    if (m_master.path().isEmpty() && QFileInfo::exists(readyListPath()))
        request.proposedName = readyListPath();
    const std::optional<QString> chosen = m_session.dialogs().openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    m_ui->filePathEdit->setText(*chosen);
    const auto outcome = m_master.choose(*chosen, m_session.dialogs(), m_session.log().workedCalls());
    if (outcome != MasterSelection::ChooseOutcome::Loaded)
        return;
    m_ui->callCountLabel->setText(m_master.countLabel());
    m_session.reload();
}

void MasterFileDialog::confirm() {
    emit suggestionsCaptionChanged(MasterSelection::captionFromLabel(m_ui->callCountLabel->text()));
    accept();
}
