#include "tmaster.h"

#include "core/logsession.h"
#include "lookup/masterselection.h"
#include "platform/userdialogs.h"
#include "ui_tmaster.h"

#include <QFileInfo>

TMaster::TMaster(MasterSelection& master, LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TMaster>()), m_master(master), m_session(session) {
    m_ui->setupUi(this);
    m_ui->Edit1->setText(master.path());
    if (!master.path().isEmpty())
        m_ui->Label3->setText(master.countLabel());
    connect(m_ui->Button1, &QPushButton::clicked, this, &TMaster::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TMaster::Button2Click);
}

TMaster::~TMaster() = default;

QString TMaster::chooserDirectory(const QString& current, const QString& programFolder) {
    if (!current.isEmpty())
        return QFileInfo(current).absolutePath();
    if (QFileInfo::exists(readyListPath()))
        return QFileInfo(readyListPath()).absolutePath();
    return programFolder;
}

void TMaster::Button1Click() {
    FileRequest request;
    request.title = QStringLiteral("Plik MASTER");
    request.directory = chooserDirectory(m_master.path(), m_session.folder().path());
    request.filter = QStringLiteral("Pliki textowe i pliki DTA (*.TXT *.DTA *.txt *.dta);;Wszystkie pliki (*.*)");
    if (m_master.path().isEmpty() && QFileInfo::exists(readyListPath()))
        request.proposedName = readyListPath();
    const std::optional<QString> chosen = m_session.dialogs().openFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    m_ui->Edit1->setText(*chosen);
    const auto outcome = m_master.choose(*chosen, m_session.dialogs(), m_session.log().workedCalls());
    if (outcome != MasterSelection::ChooseOutcome::Loaded)
        return;
    m_ui->Label3->setText(m_master.countLabel());
    m_session.reload();
}

void TMaster::Button2Click() {
    emit suggestionsCaptionChanged(MasterSelection::captionFromLabel(m_ui->Label3->text()));
    accept();
}
