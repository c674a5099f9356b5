#include "entrywindow.h"

#include "contest/contestsession.h"

#include "core/qso.h"

#include "callsuggestionswindow.h"
#include "contest/contestsession.h"
#include "core/bands.h"
#include "core/modes.h"
#include "entry/entryclock.h"
#include "entry/serialnumber.h"
#include "entry/workedbefore.h"
#include "helpfile.h"
#include "helpwindow.h"
#include "log/logsession.h"
#include "loggedcallswindow.h"
#include "offlinetimefields.h"
#include "platform/clock.h"
#include "platform/programversion.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "ui_entrywindow.h"
#include "uppercaseinput.h"
#include "widgetdialogs.h"
#include "windowplacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

namespace {

// The entry fields hold upper-case text; some characters are never inserted (a blank, "+", the backquote).
// The callsign field takes only what a callsign, a command or a search typed there holds: letters, digits, "/",
// the "-" of a date and the "?" that stands for any one character in the call suggestions.
bool acceptedInCallsign(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('?');
}
auto refusing(const char* refused) {
    return [refused = QString::fromLatin1(refused)](QChar c) { return !refused.contains(c); };
}

} // namespace

EntryWindow::EntryWindow(LogSession& session, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::EntryWindow>()), m_session(session), m_entry(session),
      m_helpPagePath(HelpFile::path()) {
    m_ui->setupUi(this);
    m_menuItems = {
        .newLog = m_ui->actionNewLog,
        .openLog = m_ui->actionOpenLog,
        .saveLogAs = m_ui->actionSaveLogAs,
        .exportCabrillo = m_ui->actionExportCabrillo,
        .exportAdif = m_ui->actionExportAdif,
        .exportEdi = m_ui->actionExportEdi,
        .exportCsv = m_ui->actionExportCsv,
        .importAdif = m_ui->actionImportAdif,
        .importCabrillo = m_ui->actionImportCabrillo,
        .showLog = m_ui->actionShowLog,
        .showBufferBar = m_ui->actionShowBufferBar,
        .showCallSuggestions = m_ui->actionShowCallSuggestions,
        .currentModeListOnly = m_ui->actionCurrentModeListOnly,
        .showSsbList = m_ui->actionShowSsbList,
        .showCwList = m_ui->actionShowCwList,
        .showFmList = m_ui->actionShowFmList,
        .showWorkedCounties = m_ui->actionShowWorkedCounties,
        .showScore = m_ui->actionShowScore,
        .showStatistics = m_ui->actionShowStatistics,
        .operatorData = m_ui->actionOperatorData,
        .masterFile = m_ui->actionMasterFile,
        .programSettings = m_ui->actionProgramSettings,
        .rigSettings = m_ui->actionRigSettings,
        .exchangeAnalysis = m_ui->actionExchangeAnalysis,
        .contest = m_ui->actionContest,
        .windowBackgrounds = m_ui->actionWindowBackgrounds,
        .fonts = m_ui->actionFonts,
        .prefixColours = m_ui->actionPrefixColours,
    };
    // Each field takes as much as its cell of the log line holds.
    for (const auto& [field, edit] : {std::pair{QsoField::Call, m_ui->callsignEdit},
                                      {QsoField::RstSent, m_ui->rstSentEdit},
                                      {QsoField::Stx, m_ui->sentSerialEdit},
                                      {QsoField::Stx, m_ui->sentFixedPartEdit},
                                      {QsoField::RstRcvd, m_ui->rstReceivedEdit},
                                      {QsoField::Srx, m_ui->receivedExchangeEdit}})
        edit->setMaxLength(QsoLayout::valueWidth(field));
    m_loggedCalls = new LoggedCallsWindow(this);
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    m_clockTimer->setInterval(500);
    m_rateTimer = new QTimer(this);
    m_rateTimer->setObjectName(QStringLiteral("rateTimer"));
    m_rateTimer->setInterval(10000);

    forceUpperCase(m_ui->callsignEdit, acceptedInCallsign);
    forceUpperCase(m_ui->receivedExchangeEdit, refusing(" +`"));
    forceUpperCase(m_ui->sentSerialEdit, refusing("`"));
    forceUpperCase(m_ui->sentFixedPartEdit, refusing(" `"));
    for (QWidget* w : {static_cast<QWidget*>(m_ui->callsignEdit), static_cast<QWidget*>(m_ui->rstSentEdit),
                       static_cast<QWidget*>(m_ui->receivedExchangeEdit), static_cast<QWidget*>(m_ui->rstReceivedEdit),
                       static_cast<QWidget*>(m_ui->sentSerialEdit), static_cast<QWidget*>(m_ui->sentFixedPartEdit),
                       static_cast<QWidget*>(m_ui->dateEdit), static_cast<QWidget*>(m_ui->manualTimeEdit)})
        w->installEventFilter(this);
    m_offlineTime = new OfflineTimeFields(m_ui->manualDateEdit, m_ui->manualTimeEdit, m_session.dialogs(), this);

    for (QWidget* w : {static_cast<QWidget*>(m_ui->dateEdit), static_cast<QWidget*>(m_ui->utcTimeEdit),
                       static_cast<QWidget*>(m_ui->manualDateEdit), static_cast<QWidget*>(m_ui->manualTimeEdit)}) {
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
        w->addAction(m_ui->actionOfflineEntry);
    }
    // The panels come and go while typing; the fields must not jump when they do.
    for (QWidget* panel : {static_cast<QWidget*>(m_ui->dupeLabel), static_cast<QWidget*>(m_ui->crossModeExchangeLabel),
                           static_cast<QWidget*>(m_ui->azimuthLabel)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    m_ui->dupeLabel->hide();
    m_ui->crossModeExchangeLabel->hide();
    m_ui->azimuthLabel->hide();
    m_ui->manualDateEdit->hide();
    m_ui->manualTimeEdit->hide();
    m_ui->offlineEntryButton->hide();
    m_ui->rstSentEdit->setText(QStringLiteral("59"));
    m_ui->rstReceivedEdit->setText(QStringLiteral("59"));
    m_ui->sentSerialEdit->setText(SettingsKeys::Program::stx.defaultValue);
    m_ui->sentFixedPartEdit->setText(SettingsKeys::Program::stxFixed.defaultValue);
    setSentExchangeColour(m_sentExchangeColour);
    m_ui->versionLabel->setText(QStringLiteral("Wersja ") + programVersion());
    // The menu names the folder, so the operator always finds the logs; "&" in a path is no shortcut.
    m_ui->actionProgramFolder->setText(
        QStringLiteral("Folder programu: ") +
        QDir::toNativeSeparators(m_session.folder().path()).replace(QLatin1Char('&'), QStringLiteral("&&")));
    rebuildLists();
    selectBand(SettingsKeys::Program::band.defaultValue);
    selectMode(SettingsKeys::Program::mode.defaultValue);
    // The score summary in full: the log window's caption may be cut by the window manager, this line never.
    // It wraps rather than widen the window; two lines are kept for it, so the window does not jump as the
    // numbers grow.
    m_summaryLabel = new QLabel(this);
    m_summaryLabel->setObjectName(QStringLiteral("scoreSummaryLabel"));
    m_summaryLabel->setWordWrap(true);
    m_summaryLabel->setMinimumHeight(2 * m_summaryLabel->fontMetrics().lineSpacing() + 4);
    statusBar()->addWidget(m_summaryLabel, 1);
    connectSignals();
    showScoreSummary();
}

EntryWindow::~EntryWindow() = default;

void EntryWindow::setContest(ContestSession* contest) {
    if (m_contest)
        disconnect(m_contest, nullptr, this, nullptr);
    m_contest = contest;
    if (!m_contest)
        return;
    connect(m_contest, &ContestSession::scoreChanged, this, [this] {
        showContestLine();
        showRate();
        showScoreSummary();
    });
    connect(m_contest, &ContestSession::contestChanged, this, &EntryWindow::showContestLine);
    showContestLine();
    showRate();
    showScoreSummary();
    m_rateTimer->start();
}

void EntryWindow::showContestLine() {
    if (!m_contest)
        return;
    Qso typed;
    typed.band = m_session.currentBand();
    typed.mode = m_session.currentMode();
    typed.call = m_ui->callsignEdit->text();
    typed.srx = m_ui->receivedExchangeEdit->text();
    const ContestEntryLine line = m_contest->entryLine(typed);
    m_ui->contestCountryLabel->setText(line.country);
    m_ui->contestScoreLabel->setText(line.score);
    // A new multiplier must catch the operator's eye before he logs; a dupe looks like the dupe panel.
    static const QString kStyles[] = {
        QString(),
        QStringLiteral("background-color: #e65100; color: white; font-weight: bold; padding: 2px;"),
        QStringLiteral("background-color: red; color: white; font-weight: bold; padding: 2px;"),
    };
    const QString& style = kStyles[int(line.mark)];
    if (m_ui->contestScoreLabel->styleSheet() != style)
        m_ui->contestScoreLabel->setStyleSheet(style);
}

void EntryWindow::showRate() {
    if (m_contest)
        m_ui->rateLabel->setText(rateLine(m_contest->rate()));
}

void EntryWindow::showScoreSummary() {
    m_summaryLabel->setText(m_contest ? m_contest->summaryCaption() : m_session.scoreSummary());
}

void EntryWindow::connectSignals() {
    connect(m_ui->logQsoButton, &QPushButton::clicked, this, &EntryWindow::logQso);
    connect(&m_session, &LogSession::logReloaded, this, &EntryWindow::showScoreSummary);
    connect(&m_session, &LogSession::qsoAdded, this, &EntryWindow::showScoreSummary);
    connect(&m_session, &LogSession::logPathChanged, this, &EntryWindow::showScoreSummary);
    connect(m_ui->callsignEdit, &QLineEdit::textChanged, this, &EntryWindow::onCallsignEdited);
    connect(m_ui->receivedExchangeEdit, &QLineEdit::textChanged, this, &EntryWindow::onReceivedExchangeEdited);
    // The contest line follows the callsign, the exchange (a multiplier may be in it), the band and the mode.
    for (QLineEdit* field : {m_ui->callsignEdit, m_ui->receivedExchangeEdit})
        connect(field, &QLineEdit::textChanged, this, &EntryWindow::showContestLine);
    connect(&m_session, &LogSession::bandChanged, this, &EntryWindow::showContestLine);
    connect(&m_session, &LogSession::modeChanged, this, &EntryWindow::showContestLine);
    // The rate meter moves with the clock and with every contact, also without a contest chosen.
    connect(m_rateTimer, &QTimer::timeout, this, &EntryWindow::showRate);
    connect(&m_session, &LogSession::qsoAdded, this, &EntryWindow::showRate);
    connect(&m_session, &LogSession::logReloaded, this, &EntryWindow::showRate);
    // The operator data or the exchange analysis gave another own locator: the azimuth shown is measured from it.
    connect(&m_session.settings(), &ProgramSettings::changed, this, [this](const QString& section, const QString& key) {
        if (ProgramSettings::concerns(SettingsKeys::Operator::locator, section, key))
            onReceivedExchangeEdited();
    });
    connect(m_ui->sentSerialEdit, &QLineEdit::textEdited, this, &EntryWindow::onSentSerialEdited);
    connect(m_ui->bandCombo, &QComboBox::activated, this, &EntryWindow::onBandChosen);
    connect(m_ui->modeCombo, &QComboBox::activated, this, &EntryWindow::onModeChosen);
    connect(m_ui->actionWarcBands, &QAction::triggered, this, &EntryWindow::onWarcBandsToggled);
    connect(m_ui->actionDigitalModes, &QAction::triggered, this, &EntryWindow::onDigitalModesToggled);
    connect(m_ui->actionOneQsoPerBand, &QAction::triggered, this, &EntryWindow::onOneQsoPerBandToggled);
    connect(m_ui->actionWithoutExchange, &QAction::triggered, this, &EntryWindow::onWithoutExchangeToggled);
    connect(m_ui->actionSeparateVhfSerials, &QAction::triggered, this, &EntryWindow::onSeparateVhfSerialsToggled);
    connect(m_ui->autoIncrementCheck, &QCheckBox::clicked, this, &EntryWindow::onAutoIncrementToggled);
    connect(m_ui->actionShowLoggedCalls, &QAction::triggered, this, &EntryWindow::onShowLoggedCallsToggled);
    connect(m_ui->actionOfflineEntry, &QAction::triggered, this, &EntryWindow::startOfflineEntry);
    connect(m_ui->offlineEntryButton, &QPushButton::clicked, this, &EntryWindow::endOfflineEntry);
    connect(m_ui->actionQuit, &QAction::triggered, this, &EntryWindow::quit);
    connect(m_ui->actionAbout, &QAction::triggered, this, &EntryWindow::showAbout);
    connect(m_ui->actionHelpFile, &QAction::triggered, this, &EntryWindow::openHelpFile);
    connect(m_ui->actionProgramFolder, &QAction::triggered, this, &EntryWindow::openProgramFolder);
    connect(m_clockTimer, &QTimer::timeout, this, &EntryWindow::showUtcClock);
    connect(m_loggedCalls, &LoggedCallsWindow::returnToCallsign, this, &EntryWindow::focusCallsign);
    connect(m_offlineTime, &OfflineTimeFields::keyForKeyer, this,
            [this](int key, Qt::KeyboardModifiers modifiers) { m_keyer->keyPressed(key, modifiers); });
    connect(m_offlineTime, &OfflineTimeFields::callsignRequested, this, &EntryWindow::focusCallsign);
    // Opening a band or mode list hides the cross-mode panel.
    for (QComboBox* box : {m_ui->bandCombo, m_ui->modeCombo}) {
        box->installEventFilter(this);
    }
}

bool EntryWindow::startUp() {
    m_starting = true;
    m_clockTimer->start();
    // Before the first tick the fields show the local date and time.
    const QDateTime shown = m_session.clock().now();
    showClock(shown);
    if (m_entry.start(shown) == EntrySession::Start::CountyListMissing)
        return false;
    setWindowTitle(m_entry.isSecondCopy() ? QString::fromLatin1(EntryStartup::kSecondCopyCaption)
                                          : QStringLiteral("KVR_Log"));
    applyOptions();
    const IniFile& settings = m_session.settings().file();
    if (settings.exists()) {
        const int x = settings.value(SettingsKeys::Program::windowX, geometry().x());
        const int y = settings.value(SettingsKeys::Program::windowY, geometry().y());
        placeWindow(this, {x, y}, size());
    }
    m_ui->actionShowLoggedCalls->setChecked(settings.value(SettingsKeys::View::loggedCalls));
    showUtcClock();
    m_starting = false;
    if (m_ui->actionShowLoggedCalls->isChecked())
        m_loggedCalls->show();
    focusCallsign();
    // The other windows are shown after this, and the last one shown takes the keyboard: once they are all up,
    // the entry window is activated again, so the first callsign typed lands in its field.
    QTimer::singleShot(0, this, &EntryWindow::focusCallsign);
    return true;
}

void EntryWindow::applyOptions() {
    // A copy: rebuilding the lists writes the selection back into the options.
    const EntryOptions o = m_entry.options();
    m_ui->actionWarcBands->setChecked(o.warcBands);
    m_ui->actionDigitalModes->setChecked(o.digitalModes);
    m_ui->actionOneQsoPerBand->setChecked(o.oneQsoPerBand);
    m_ui->actionWithoutExchange->setChecked(o.withoutExchange);
    m_ui->actionSeparateVhfSerials->setChecked(o.separateVhfSerials);
    m_ui->autoIncrementCheck->setChecked(o.autoIncrement);
    m_ui->sentSerialEdit->setText(o.stx);
    m_ui->sentFixedPartEdit->setText(o.stxFixed);
    rebuildLists();
    // The saved band is only selected: a band change here would switch an analysis the operator turned off
    // back on for a VHF band, and replace the saved serial. The saved mode runs the mode change.
    selectBand(o.band);
    emit bandChanged(m_session.band());
    selectMode(o.mode);
    onModeChosen();
}

void EntryWindow::setKeyerHooks(KeyerHooks* hooks) {
    m_keyer = hooks ? hooks : &m_nullKeyer;
    // The keyer's keys (Esc, F12, the buffer keys) work wherever the focus is in the window, the outgoing
    // text field of the keyer area included.
    QList<QWidget*> others = m_ui->keyerArea->findChildren<QWidget*>();
    others << m_ui->autoIncrementCheck << m_ui->logQsoButton;
    for (QWidget* w : others)
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

QWidget* EntryWindow::keyerArea() const {
    return m_ui->keyerArea;
}

QLineEdit* EntryWindow::callsignField() const {
    return m_ui->callsignEdit;
}

EntryWindowKeyerEntry::Fields EntryWindow::keyerFields() const {
    return {m_ui->callsignEdit,      m_ui->rstSentEdit, m_ui->receivedExchangeEdit, m_ui->sentSerialEdit,
            m_ui->sentFixedPartEdit, m_ui->dupeLabel,   m_ui->logQsoButton};
}

bool EntryWindow::isOffline() const {
    return m_ui->offlineEntryButton->isVisibleTo(this);
}

void EntryWindow::focusCallsign() {
    if (!m_followingRig)
        activateWindow();
    m_ui->callsignEdit->setFocus();
}

void EntryWindow::followRigBand(const QString& band) {
    m_followingRig = true;
    selectBand(band);
    onBandChosen();
    m_followingRig = false;
}

void EntryWindow::followRigMode(const QString& mode) {
    m_followingRig = true;
    selectMode(mode);
    onModeChosen();
    m_followingRig = false;
}

// Lists, band and mode

void EntryWindow::rebuildLists() {
    const SelectorList bands =
        bandSelector(m_entry.options().warcBands,
                     m_ui->bandCombo->currentText().isEmpty() ? m_session.band() : m_ui->bandCombo->currentText());
    const SelectorList modes =
        modeSelector(m_entry.options().digitalModes,
                     m_ui->modeCombo->currentText().isEmpty() ? m_session.mode() : m_ui->modeCombo->currentText());
    const QSignalBlocker blockBands(m_ui->bandCombo);
    const QSignalBlocker blockModes(m_ui->modeCombo);
    m_ui->bandCombo->clear();
    m_ui->bandCombo->addItems(bands.items);
    m_ui->modeCombo->clear();
    m_ui->modeCombo->addItems(modes.items);
    selectBand(bands.selected);
    selectMode(modes.selected);
}

void EntryWindow::selectBand(const QString& band) {
    const int at = m_ui->bandCombo->findText(band);
    m_ui->bandCombo->setCurrentIndex(at < 0 ? 0 : at);
    m_session.setBand(m_ui->bandCombo->currentText());
    m_entry.options().band = m_session.band();
}

void EntryWindow::selectMode(const QString& mode) {
    const int at = m_ui->modeCombo->findText(mode);
    m_ui->modeCombo->setCurrentIndex(at < 0 ? 0 : at);
    m_session.setMode(m_ui->modeCombo->currentText());
    m_entry.options().mode = m_session.mode();
}

void EntryWindow::onBandChosen() {
    const EntrySession::BandSwitch change =
        m_entry.changeBand(m_ui->bandCombo->currentText(), m_ui->sentSerialEdit->text());
    if (change.analysis.sentFixedPart)
        m_ui->sentFixedPartEdit->setText(*change.analysis.sentFixedPart);
    if (change.analysis.countiesWindowVisible)
        emit countiesWindowRequested(*change.analysis.countiesWindowVisible);
    workedBeforeCheck();
    updateSuggestions();
    if (!m_starting)
        focusCallsign();
    m_ui->sentSerialEdit->setText(change.serial);
    emit bandChanged(m_session.band());
}

void EntryWindow::onModeChosen() {
    const QString mode = m_ui->modeCombo->currentText();
    const ModeInfo* info = Modes::byName(mode);
    m_ui->rstSentEdit->setText(Modes::defaultReport(info, m_ui->rstSentEdit->text(), Modes::ReportReset::ModeSwitch));
    m_ui->rstReceivedEdit->setText(
        Modes::defaultReport(info, m_ui->rstReceivedEdit->text(), Modes::ReportReset::ModeSwitch));
    m_entry.changeMode(mode);
    workedBeforeCheck();
    updateSuggestions();
    if (!m_starting)
        focusCallsign();
    emit modeChanged(mode);
}

void EntryWindow::onWarcBandsToggled() {
    m_entry.options().warcBands = m_ui->actionWarcBands->isChecked();
    rebuildLists();
}

void EntryWindow::onDigitalModesToggled() {
    m_entry.options().digitalModes = m_ui->actionDigitalModes->isChecked();
    rebuildLists();
}

void EntryWindow::onOneQsoPerBandToggled() {
    m_entry.setOneQsoPerBand(m_ui->actionOneQsoPerBand->isChecked());
    workedBeforeCheck();
}

void EntryWindow::onWithoutExchangeToggled() {
    m_entry.options().withoutExchange = m_ui->actionWithoutExchange->isChecked();
}

void EntryWindow::onSeparateVhfSerialsToggled() {
    m_entry.options().separateVhfSerials = m_ui->actionSeparateVhfSerials->isChecked();
}

// Callsign and exchange

void EntryWindow::workedBeforeCheck() {
    const WorkedBeforeResult result = m_entry.checkCall(m_ui->callsignEdit->text());
    if (result.dupe) {
        m_ui->dupeLabel->setText(result.panelText);
        m_ui->dupeLabel->show();
        QApplication::beep();
    } else {
        m_ui->dupeLabel->hide();
    }
}

void EntryWindow::updateSuggestions() {
    if (!m_ui->actionShowLoggedCalls->isChecked())
        return;
    m_loggedCalls->setCalls(m_entry.loggedCallSuggestions(m_ui->callsignEdit->text()));
}

void EntryWindow::setCallsignColour() {
    const bool command = classifyCommand(m_ui->callsignEdit->text(), Bands::selectorList(m_entry.options().warcBands),
                                         Modes::selectorList(m_entry.options().digitalModes)) != EntryCommand::None;
    QPalette palette = m_ui->callsignEdit->palette();
    palette.setColor(QPalette::Text, command ? QColor(0xFF, 0x00, 0xFF) : QColor(0x00, 0x00, 0x80));
    m_ui->callsignEdit->setPalette(palette);
}

void EntryWindow::onCallsignEdited() {
    m_keyer->callsignChanged(m_ui->callsignEdit->text());
    workedBeforeCheck();
    setCallsignColour();
    emit callsignChanged(m_ui->callsignEdit->text());
    updateSuggestions();
}

void EntryWindow::showCrossModeExchange() {
    const auto exchange = m_entry.crossModeExchange(m_ui->callsignEdit->text());
    m_ui->crossModeExchangeLabel->setText(exchange.value_or(QString()));
    m_ui->crossModeExchangeLabel->setVisible(exchange.has_value());
}

void EntryWindow::onReceivedExchangeLeft() {
    QString text = m_ui->receivedExchangeEdit->text();
    if (text.contains(QLatin1Char(' ')))
        m_ui->receivedExchangeEdit->setText(text.remove(QLatin1Char(' ')));
    m_ui->crossModeExchangeLabel->hide();
}

void EntryWindow::onReceivedExchangeEdited() {
    const AnalysisOptions& analysis = m_session.analysis;
    const bool locatorMode = analysis.enabled && analysis.mode == AnalysisMode::Locator;
    QPalette palette = m_ui->receivedExchangeEdit->palette();
    const QColor text = locatorMode && exchangeLocatorInvalid(m_ui->receivedExchangeEdit->text())
                            ? QColor(Qt::red)
                            : QApplication::palette(m_ui->receivedExchangeEdit).color(QPalette::Text);
    if (palette.color(QPalette::Text) != text) {
        palette.setColor(QPalette::Text, text);
        m_ui->receivedExchangeEdit->setPalette(palette);
    }
    if (m_starting || !locatorMode)
        return;
    const auto label = azimuthLabel(m_session.operatorData.locator, m_ui->receivedExchangeEdit->text());
    m_ui->azimuthLabel->setText(label.value_or(m_ui->azimuthLabel->text()));
    m_ui->azimuthLabel->setVisible(label.has_value());
}

void EntryWindow::onSentSerialEdited() {
    const QString text = m_ui->sentSerialEdit->text();
    if (m_ui->autoIncrementCheck->isChecked() && !text.isEmpty() && !SerialNumber::isDigitsOnly(text)) {
        m_ui->autoIncrementCheck->setChecked(false);
        m_entry.options().autoIncrement = false;
    }
}

void EntryWindow::onAutoIncrementToggled() {
    if (m_ui->autoIncrementCheck->isChecked() && !SerialNumber::isDigitsOnly(m_ui->sentSerialEdit->text().trimmed())) {
        m_session.dialogs().error(QStringLiteral(
            "Aby uaktywnić funkcję ZWIĘKSZ AUTOMATYCZNIE, w polu NADAWANA GRUPA KONTROLNA\nmogą znajdować się "
            "wyłącznie cyfry!\nJeśli grupą kontrolną jest kolejny numer QSO, wprowadź w to pole numer nadany przy "
            "aktualnej łączności (lub 001)\ni włącz funkcję ponownie.\nJeśli grupa ma zawierać dodatkowo \"PW\" lub "
            "\"WM\", ustaw to w oknie \"Zmiana danych\"."));
        m_ui->autoIncrementCheck->setChecked(false);
        m_ui->sentSerialEdit->setFocus();
    }
    m_entry.options().autoIncrement = m_ui->autoIncrementCheck->isChecked();
}

void EntryWindow::acceptCallsign() {
    const QString text = m_ui->callsignEdit->text();
    const QStringList bands = Bands::selectorList(m_entry.options().warcBands);
    const QStringList modes = Modes::selectorList(m_entry.options().digitalModes);
    switch (classifyCommand(text, bands, modes)) {
    case EntryCommand::Band:
        m_ui->callsignEdit->clear();
        selectBand(text);
        onBandChosen();
        return;
    case EntryCommand::Mode:
        m_ui->callsignEdit->clear();
        selectMode(text);
        onModeChosen();
        return;
    case EntryCommand::Time:
        if (const auto time = EntryClock::timeCommand(text).time) {
            m_ui->manualTimeEdit->setText(*time);
            m_ui->callsignEdit->clear();
        } else {
            QApplication::beep();
        }
        return;
    case EntryCommand::Date:
        if (const auto date = EntryClock::dateCommand(text))
            m_ui->manualDateEdit->setDate(*date);
        m_ui->callsignEdit->clear();
        return;
    case EntryCommand::None:
        break;
    }
    if (m_entry.options().withoutExchange) {
        logQso();
        return;
    }
    moveToExchange();
}

EntryFieldHops::Fields EntryWindow::hopFields() const {
    return {m_ui->callsignEdit->text(), m_ui->callsignEdit->cursorPosition(), m_ui->receivedExchangeEdit->text(),
            m_ui->receivedExchangeEdit->cursorPosition()};
}

// Enter or a blank in the callsign field: on to the received exchange, pre-filled from what the log knows.
void EntryWindow::moveToExchange() {
    enterExchange(m_hops.spaceInCall(hopFields(), m_session.analysis, m_session.log().workedCalls()));
}

// Ctrl+Space: the first MASTER suggestion, then on as a blank would go.
void EntryWindow::takeFirstSuggestion() {
    if (!m_callSuggestions) {
        moveToExchange();
        return;
    }
    enterExchange(m_callSuggestions->ctrlSpaceInCallsign(hopFields(), m_hops));
}

void EntryWindow::enterExchange(const EntryFieldHops::ToExchange& move) {
    if (move.call)
        m_ui->callsignEdit->setText(*move.call);
    showCrossModeExchange();
    m_ui->receivedExchangeEdit->setFocus();
    if (move.exchange)
        m_ui->receivedExchangeEdit->setText(*move.exchange);
    m_ui->receivedExchangeEdit->setCursorPosition(move.cursor);
}

void EntryWindow::moveToCallsign() {
    const EntryFieldHops::ToCall move =
        m_hops.spaceInExchange(hopFields(), m_callSuggestions ? &m_callSuggestions->suggestions() : nullptr);
    m_ui->callsignEdit->setFocus();
    m_ui->callsignEdit->setCursorPosition(move.cursor);
}

EntryForm EntryWindow::entryFields() const {
    EntryForm form;
    form.call = m_ui->callsignEdit->text();
    form.srx = m_ui->receivedExchangeEdit->text();
    form.rstSent = m_ui->rstSentEdit->text();
    form.rstRcvd = m_ui->rstReceivedEdit->text();
    form.stx = m_ui->sentSerialEdit->text();
    form.stxFixed = m_ui->sentFixedPartEdit->text();
    form.date = m_ui->dateEdit->text();
    form.time = m_ui->utcTimeEdit->text();
    if (isOffline())
        form.offline = EntryClock::ManualTime{m_ui->manualDateEdit->date(), m_ui->manualTimeEdit->text()};
    return form;
}

void EntryWindow::setSerialField(const QString& serial) {
    m_ui->sentSerialEdit->setText(serial);
}

void EntryWindow::changeSerialFormat(int index) {
    const SerialFormat format = SerialNumber::formatFromIndex(index);
    m_entry.options().serialFormat = format;
    if (autoIncrement())
        m_ui->sentSerialEdit->setText(SerialNumber::reformat(m_ui->sentSerialEdit->text(), format));
}

void EntryWindow::setUtcOptions(bool manualUtc, int offsetHours) {
    m_entry.options().manualUtc = manualUtc;
    m_entry.options().utcOffsetHours = offsetHours;
    m_entry.computeUtcOffset(m_session.clock().now());
    showClock(m_entry.utcNow());
}

void EntryWindow::focusLastEntryField() {
    activateWindow();
    (m_lastEntryField ? m_lastEntryField : m_ui->callsignEdit)->setFocus();
}

void EntryWindow::showStatusMessage(const QString& text) {
    statusBar()->showMessage(text, 6000);
}

void EntryWindow::setSentFixedPart(const QString& text) {
    m_ui->sentFixedPartEdit->setText(text);
}

void EntryWindow::setSentExchangeColour(int colour) {
    m_sentExchangeColour = colour;
    QPalette palette = m_ui->sentSerialEdit->palette();
    palette.setColor(QPalette::Base, colourFromWindows(colour));
    m_ui->sentSerialEdit->setPalette(palette);
}

QString EntryWindow::shownDate() const {
    return m_ui->dateEdit->text();
}

bool EntryWindow::autoIncrement() const {
    return m_ui->autoIncrementCheck->isChecked();
}

void EntryWindow::takeSuggestion(const QString& call) {
    m_ui->callsignEdit->setText(call);
    showCrossModeExchange();
    const EntryFieldHops::Click click = EntryFieldHops::suggestionChosen(
        call, m_ui->receivedExchangeEdit->text(), m_session.analysis, m_session.log().workedCalls());
    if (click.focus == EntryFieldHops::ClickFocus::SuggestionList)
        return;
    if (click.exchange)
        m_ui->receivedExchangeEdit->setText(*click.exchange);
    activateWindow();
    m_ui->receivedExchangeEdit->setFocus();
    m_ui->receivedExchangeEdit->setCursorPosition(click.exchange ? 0 : int(m_ui->receivedExchangeEdit->text().size()));
}

void EntryWindow::logQso() {
    m_ui->crossModeExchangeLabel->hide();
    const EntryForm form = entryFields();
    const AddQsoResult result = m_entry.addQso(form);
    switch (result.outcome) {
    case AddQsoResult::Outcome::NothingTyped:
    case AddQsoResult::Outcome::MissingCall:
    case AddQsoResult::Outcome::PatternCall:
        focusCallsign();
        return;
    case AddQsoResult::Outcome::Refused:
        if (!result.refusalShown)
            showStatusMessage(QStringLiteral("QSO nie zostało zapisane: do tego logu nie można teraz zapisywać – "
                                             "otwórz inny log („Otwórz log”) albo załóż nowy („Nowy log”)."));
        [[fallthrough]];
    case AddQsoResult::Outcome::Declined:
    case AddQsoResult::Outcome::WriteFailed:
        // The contact stays in the fields, so nothing typed is lost.
        m_ui->receivedExchangeEdit->setFocus();
        return;
    case AddQsoResult::Outcome::Added:
        break;
    }
    if (result.offline) {
        m_ui->manualTimeEdit->setText(result.offline->time);
        m_ui->manualDateEdit->setDate(result.offline->date);
    }
    m_ui->sentSerialEdit->setText(result.stx);
    m_ui->callsignEdit->clear();
    m_ui->receivedExchangeEdit->clear();
    m_hops.forgetPositions();
    m_ui->rstSentEdit->setText(result.rstSent);
    m_ui->rstReceivedEdit->setText(result.rstRcvd);
    m_keyer->qsoLogged();
    focusCallsign();
}

// Clock and offline entry

void EntryWindow::showClock(const QDateTime& shown) {
    m_ui->utcTimeEdit->setText(EntryClock::formatTime(shown.time()));
    m_ui->dateEdit->setText(EntryClock::formatDate(shown.date()));
}

void EntryWindow::showUtcClock() {
    m_keyer->clockTick();
    showClock(m_entry.utcNow());
}

void EntryWindow::startOfflineEntry() {
    const QDate shownDate = QDate::fromString(m_ui->dateEdit->text(), QStringLiteral("yyyy-MM-dd"));
    m_ui->manualDateEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_ui->manualDateEdit->setDate(shownDate.isValid() ? shownDate : m_entry.utcNow().date());
    m_ui->manualDateEdit->show();
    m_ui->manualTimeEdit->setText(m_ui->utcTimeEdit->text().left(6) + QStringLiteral("00"));
    m_ui->manualTimeEdit->show();
    m_ui->dateEdit->hide();
    m_ui->utcTimeEdit->hide();
    m_ui->offlineEntryButton->show();
    m_clockTimer->stop();
    // A paper log starts with its date: the year is selected, so typing the date replaces it.
    m_ui->manualDateEdit->setFocus();
    m_ui->manualDateEdit->setSelectedSection(QDateTimeEdit::YearSection);
}

void EntryWindow::endOfflineEntry() {
    m_ui->manualDateEdit->hide();
    m_ui->manualTimeEdit->hide();
    m_ui->offlineEntryButton->hide();
    m_ui->dateEdit->show();
    m_ui->utcTimeEdit->show();
    showUtcClock();
    m_clockTimer->start();
    focusCallsign();
}

void EntryWindow::checkDateField() {
    if (const auto error = EntryClock::dateFieldError(m_ui->dateEdit->text())) {
        m_session.dialogs().error(*error);
        m_ui->dateEdit->setFocus();
    }
}

// Keys

EntryKeys::Field EntryWindow::keyField(const QObject* watched) const {
    if (watched == m_ui->callsignEdit)
        return EntryKeys::Callsign;
    if (watched == m_ui->receivedExchangeEdit)
        return EntryKeys::Exchange;
    if (watched == m_ui->rstSentEdit || watched == m_ui->rstReceivedEdit)
        return EntryKeys::Report;
    if (watched == m_ui->sentSerialEdit)
        return EntryKeys::SentSerial;
    if (watched == m_ui->sentFixedPartEdit)
        return EntryKeys::SentFixedPart;
    return EntryKeys::Other;
}

bool EntryWindow::routeKey(QObject* watched, const QKeyEvent* key) {
    const EntryKeys::Stroke stroke{key->key(), key->modifiers(), key->text(), key->isAutoRepeat()};
    const EntryKeys::Field field = keyField(watched);
    if (key->type() == QEvent::KeyRelease)
        return runKeyAction(m_keys.release(field, stroke), watched, key);
    const bool keyerTookIt = m_keyer->keyPressed(key->key(), key->modifiers());
    return runKeyAction(m_keys.press(field, stroke, keyerTookIt), watched, key);
}

bool EntryWindow::runKeyAction(EntryKeys::Action action, QObject* watched, const QKeyEvent* key) {
    using Action = EntryKeys::Action;
    switch (action) {
    case Action::None:
        return false;
    case Action::Swallow:
    case Action::HoldUntilRelease:
        return true;
    case Action::BandDown:
    case Action::BandUp:
        stepBand(action == Action::BandDown ? -1 : 1);
        return true;
    case Action::ModeDown:
    case Action::ModeUp:
        stepMode(action == Action::ModeDown ? -1 : 1);
        return true;
    case Action::ManualCw:
        m_keyer->manualCwRequested();
        return true;
    case Action::AcceptCallsign:
        acceptCallsign();
        return true;
    case Action::TakeFirstSuggestion:
        takeFirstSuggestion();
        return true;
    case Action::ToExchange:
        moveToExchange();
        return true;
    case Action::ToCallsign:
        moveToCallsign();
        return true;
    case Action::LogQso:
        logQso();
        return true;
    case Action::NextField:
        focusNextChild();
        return true;
    case Action::ReportCharacter:
        return typeReportCharacter(static_cast<QLineEdit*>(watched), key);
    case Action::OfflineMinuteForward:
    case Action::OfflineMinuteBack:
        m_offlineTime->stepMinutes(action == Action::OfflineMinuteForward ? 1 : -1);
        return true;
    case Action::SpeedUp:
    case Action::SpeedDown:
        m_keyer->changeSpeed(action == Action::SpeedUp ? 1 : -1);
        return true;
    }
    return false;
}

void EntryWindow::stepBand(int step) {
    selectBand(stepInList(Bands::selectorList(m_entry.options().warcBands), m_ui->bandCombo->currentText(), step));
    onBandChosen();
}

void EntryWindow::stepMode(int step) {
    selectMode(stepInList(Modes::selectorList(m_entry.options().digitalModes), m_ui->modeCombo->currentText(), step));
    onModeChosen();
    focusCallsign();
}

// A report field takes digits and "A"/"S", typed in lower case too; any other character is refused with a beep.
// Editing keys reach the field.
bool EntryWindow::typeReportCharacter(QLineEdit* field, const QKeyEvent* key) {
    const int k = key->key();
    const QString text = key->text();
    if (text.isEmpty() || k == Qt::Key_Backspace || k == Qt::Key_Delete || k == Qt::Key_Tab)
        return false;
    const std::optional<QChar> accepted = Modes::reportCharacter(text.at(0));
    if (!accepted) {
        QApplication::beep();
        return true;
    }
    if (*accepted == text.at(0))
        return false;
    field->insert(QString(*accepted));
    return true;
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (routeKey(watched, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusIn:
        if (watched == m_ui->callsignEdit || watched == m_ui->receivedExchangeEdit)
            m_lastEntryField = static_cast<QLineEdit*>(watched);
        if (watched == m_ui->callsignEdit && !m_starting)
            onCallsignEdited();
        break;
    case QEvent::FocusOut:
        if (watched == m_ui->callsignEdit)
            showCrossModeExchange();
        else if (watched == m_ui->receivedExchangeEdit)
            onReceivedExchangeLeft();
        else if (watched == m_ui->dateEdit && !m_ui->dateEdit->isReadOnly())
            checkDateField();
        break;
    case QEvent::MouseButtonPress:
        if (watched == m_ui->bandCombo || watched == m_ui->modeCombo)
            m_ui->crossModeExchangeLabel->hide();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Menu and closing

void EntryWindow::onShowLoggedCallsToggled() {
    if (m_ui->actionShowLoggedCalls->isChecked()) {
        m_loggedCalls->show();
        updateSuggestions();
        focusCallsign();
    } else {
        m_loggedCalls->hide();
    }
}

void EntryWindow::showAbout() {
    HelpFile::about(m_session.dialogs());
}

void EntryWindow::openHelpFile() {
    // One help window: opened again, it comes to the front as it is.
    if (!m_helpWindow) {
        const std::optional<QString> page = HelpFile::read(m_session.dialogs(), m_helpPagePath);
        if (!page)
            return;
        m_helpWindow = new HelpWindow(*page, this);
    }
    m_helpWindow->showInFront();
}

void EntryWindow::openProgramFolder() {
    const QString path = m_session.folder().path();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        m_session.dialogs().error(QStringLiteral("Nie można otworzyć folderu programu:\n") +
                                  QDir::toNativeSeparators(path));
}

void EntryWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        emit activated();
        restoreWindowsOnFirstActivation();
    }
}

void EntryWindow::restoreWindowsOnFirstActivation() {
    // Only the first activation restores the windows around the entry window.
    if (m_activated || m_starting)
        return;
    m_activated = true;
    const IniFile& settings = m_session.settings().file();
    if (!settings.exists()) {
        emit firstActivationWithoutSettings();
        return;
    }
    m_loggedCalls->readSettings(settings);
    emit firstActivation(settings);
}

void EntryWindow::tellSettingsNotSaved(const TextFile::Status& written) {
    if (written || std::exchange(m_settingsFailureTold, true))
        return;
    m_session.dialogs().error(QStringLiteral("Ustawienia programu nie zostały zapisane:\n") + written.error +
                              QStringLiteral("\n\nZmiany ustawień z tej sesji (prędkość, pasmo, komunikaty, układ "
                                             "okien) zostaną utracone."));
}

void EntryWindow::quit() {
    close();
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    m_clockTimer->stop();
    emit aboutToClose();
    EntryOptions& o = m_entry.options();
    o.autoIncrement = m_ui->autoIncrementCheck->isChecked();
    o.stx = m_ui->sentSerialEdit->text();
    o.stxFixed = m_ui->sentFixedPartEdit->text();
    o.band = m_ui->bandCombo->currentText();
    o.mode = m_ui->modeCombo->currentText();
    IniFile& settings = m_session.settings().file();
    {
        IniFile::Batch batch(settings);
        m_entry.saveSettings(settings);
        settings.setValue(SettingsKeys::Program::windowX, geometry().x());
        settings.setValue(SettingsKeys::Program::windowY, geometry().y());
        settings.setValue(SettingsKeys::View::loggedCalls, m_ui->actionShowLoggedCalls->isChecked());
        m_loggedCalls->writeSettings(settings);
        emit closing(settings);
    }
    tellSettingsNotSaved(settings.batchStatus());
    m_loggedCalls->close();
    if (m_helpWindow)
        m_helpWindow->close();
    event->accept();
}
