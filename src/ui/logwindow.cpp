#include "logwindow.h"

#include "analysis/scoresummary.h"
#include "contest/contestsession.h"
#include "log/logedit.h"
#include "log/logsession.h"
#include "loglistmodel.h"
#include "qsoeditdialog.h"
#include "settings/inifile.h"
#include "settings/windowsettings.h"
#include "ui_logwindow.h"
#include "widgetdialogs.h"
#include "widgetshortcut.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

LogWindow::LogWindow(LogSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint),
      m_ui(std::make_unique<Ui::LogWindow>()), m_session(session), m_model(new LogListModel(session.log(), this)),
      m_menu(new QMenu(this)), m_editDialog(new QsoEditDialog(session, this)) {
    m_ui->setupUi(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->logList->setFont(fixed);
    m_ui->logList->setModel(m_model);
    m_ui->logList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->columnHeader->setColumnFont(fixed);
    m_ui->columnHeader->setTextOffset(m_ui->logList->frameWidth() + 3);

    m_menu->addAction(m_ui->actionEditQso);
    m_menu->addSeparator();
    m_menu->addAction(m_ui->actionDeleteQso);

    connect(m_ui->logList, &QListView::doubleClicked, this, &LogWindow::editSelectedQso);
    connect(m_ui->actionEditQso, &QAction::triggered, this, &LogWindow::editSelectedQso);
    connect(m_ui->actionDeleteQso, &QAction::triggered, this, &LogWindow::deleteSelectedQso);
    connect(m_ui->logList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_ui->logList->viewport()->mapToGlobal(at)); });
    m_ui->logList->viewport()->installEventFilter(this);
    connect(widgetShortcut(m_ui->logList, {Qt::Key_Home, QKeySequence(Qt::AltModifier | Qt::Key_W)}),
            &QShortcut::activated, this, &LogWindow::callsignFocusRequested);
    connect(widgetShortcut(m_ui->logList, {Qt::Key_Escape}), &QShortcut::activated, this, &LogWindow::escapeToCallsign);
    // The keypad's Enter arrives with the keypad modifier.
    connect(widgetShortcut(m_ui->logList,
                           {Qt::Key_Return, Qt::Key_Enter, QKeySequence(Qt::KeypadModifier | Qt::Key_Enter)}),
            &QShortcut::activated, this, &LogWindow::editSelectedQso);

    connect(&m_session, &LogSession::logReloaded, this, &LogWindow::logReloaded);
    connect(&m_session, &LogSession::logPathChanged, this, &LogWindow::showPathCaption);
    connect(&m_session, &LogSession::qsoAdded, this, &LogWindow::qsoAdded);
    connect(&m_session, &LogSession::rowSelectionRequested, this, &LogWindow::selectRow);
    logReloaded();
}

LogWindow::~LogWindow() = default;

void LogWindow::showSummary() {
    setWindowTitle(m_contest ? m_contest->summaryCaption() : m_session.scoreSummary());
}

void LogWindow::setContest(const ContestSession* contest) {
    m_contest = contest;
    m_model->setContest(contest, m_ui->logList->font());
    connect(contest, &ContestSession::scoreChanged, this, [this] {
        m_model->marksChanged();
        // A new, empty log keeps its name as the caption.
        if (!m_session.log().isEmpty())
            showSummary();
    });
}

void LogWindow::showPathCaption(const QString& path) {
    // A new, empty log shows just its name until its first contact; a log saved under another name keeps
    // its summary, with the new name in it.
    if (m_session.log().isEmpty())
        setWindowTitle(QStringLiteral("Log ") + ShortenPath(path, 60));
    else
        showSummary();
}

void LogWindow::logReloaded() {
    m_model->reset();
    showSummary();
    // A whole log opens on its last contact; a log that stopped at a bad line selects nothing.
    selectRow(m_session.logComplete() ? m_session.log().size() - 1 : -1);
}

void LogWindow::qsoAdded(qsizetype row) {
    m_model->rowInserted(row);
    showSummary();
    selectRow(row);
}

qsizetype LogWindow::selectedRow() const {
    const QModelIndexList selected = m_ui->logList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void LogWindow::selectRow(qsizetype row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(int(row));
    m_ui->logList->setCurrentIndex(index);
    m_ui->logList->scrollTo(index);
}

void LogWindow::editSelectedQso() {
    // The backup is written first, so even a cancelled edit leaves the log as it was on the disk.
    const TextFile::Status backup = LogEdit::writeEditBackup(m_session);
    if (!backup) {
        m_session.dialogs().error(backup.error);
        return;
    }
    const qsizetype row = selectedRow();
    if (row < 0) {
        m_session.dialogs().error(QStringLiteral("Należy najpierw zaznaczyć łączność!"));
        return;
    }
    m_editDialog->setQso(row);
    m_editDialog->move(x(), y() - 64);
    m_editDialog->exec();
    // However the dialog closed, the list gets an Esc: back to the callsign field, which takes the Esc too.
    emit escapeToCallsign();
}

void LogWindow::deleteSelectedQso() {
    const LogEdit::DeleteResult result = LogEdit::DeleteQso(m_session, selectedRow());
    if (!result.deleted)
        return;
    if (result.newestDeleted && m_serial.text && m_serial.autoIncrement && m_serial.autoIncrement()) {
        const int digits = m_serial.digits ? m_serial.digits() : 1;
        if (const auto serial = LogEdit::serialAfterDeletingNewest(m_serial.text(), digits))
            m_serial.setText(*serial);
    }
    emit callsignFocusRequested();
}

bool LogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->logList->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A right click first selects the row under the pointer, so the popup menu acts on it.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QModelIndex index = m_ui->logList->indexAt(mouse->position().toPoint());
            if (index.isValid())
                m_ui->logList->setCurrentIndex(index);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LogWindow::closeEvent(QCloseEvent* event) {
    // The log window lives as long as the program; the view menu hides it.
    event->ignore();
}

int LogWindow::backgroundColour() const {
    return colourToWindows(m_ui->logList->palette().color(QPalette::Base));
}

void LogWindow::setBackgroundColour(int colour) {
    QPalette palette = m_ui->logList->palette();
    palette.setColor(QPalette::Base, colourFromWindows(colour));
    m_ui->logList->setPalette(palette);
}

void LogWindow::readSettings(const IniFile& settings) {
    const WindowSettings w = WindowSettings::read(settings, SettingsKeys::WindowSection::Log, {false, false});
    placeWindow(this, {w.x.value_or(geometry().x()), w.y.value_or(geometry().y())},
                {width(), w.height.value_or(height())});
    if (w.background)
        setBackgroundColour(*w.background);
}

void LogWindow::writeSettings(IniFile& settings) const {
    WindowSettings w;
    w.height = height();
    w.x = geometry().x();
    w.y = geometry().y();
    w.background = backgroundColour();
    w.write(settings, SettingsKeys::WindowSection::Log);
}
