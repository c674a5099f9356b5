#include "applicationwindows.h"

#include "contest/contestchoice.h"
#include "contest/contestsession.h"
#include "platform/programfolder.h"

#include "buffereditordialog.h"
#include "callsuggestionswindow.h"
#include "contestdialog.h"
#include "core/modes.h"
#include "ediexportdialog.h"
#include "entrywindow.h"
#include "entrywindowkeyerentry.h"
#include "entrywindowrig.h"
#include "exchangeanalysisdialog.h"
#include "interchangemenu.h"
#include "keyer/keyersetup.h"
#include "keyer/morseengine.h"
#include "keyer/voicekeyer.h"
#include "keyerpanel.h"
#include "keyersettingsdialog.h"
#include "log/analysishandlers.h"
#include "log/logsession.h"
#include "loggedcallswindow.h"
#include "logwindow.h"
#include "lookup/workedcallsgroups.h"
#include "manualcwdialog.h"
#include "masterfiledialog.h"
#include "operatordatadialog.h"
#include "scorewindow.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "settings/windowsettings.h"
#include "statisticswindow.h"
#include "windowplacement.h"
#include "workedcallswindow.h"
#include "workedcallswindows.h"
#include "workedcountieswindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

struct ApplicationWindows::ViewItem {
    QAction* item;
    QWidget* window;
    const SettingsKey<bool>* flag;
};

ApplicationWindows::ApplicationWindows(LogSession& session, KeyerDevices devices)
    : m_session(session), m_entryWindow(std::make_unique<EntryWindow>(session)), m_lifecycle(session) {
    EntryWindow* main = m_entryWindow.get();
    const ProgramPlaces places = ProgramPlaces::forExecutable(QCoreApplication::applicationDirPath());
    m_contest = new ContestSession(
        session, ContestChoice::definitionFolders(places.executableDir, places.sharedDataDir, session.folder().path()),
        this);
    // The windows in the program's order of creation; each follows the log session by its signals.
    createKeyer(devices);
    // The keyer may key CW and switch PTT through the radio.
    m_rig = new EntryWindowRig(*main, session);
    m_rig->setKeying(&m_keyerPanel->engine().keying());
    m_workedCalls = new WorkedCallsWindows(session, main);
    m_logWindow = new LogWindow(session, main);
    m_callSuggestions = new CallSuggestionsWindow(session, m_master, main);
    m_countiesWindow = new WorkedCountiesWindow(session, main);
    m_analysisDialog = new ExchangeAnalysisDialog(session, main);
    m_operatorDialog = new OperatorDataDialog(session, main);
    m_statisticsWindow = new StatisticsWindow(session, *m_contest, main);
    m_scoreWindow = new ScoreWindow(*m_contest, main);
    m_contestDialog = new ContestDialog(*m_contest, session.settings().file(), session.dialogs(), main);
    m_logWindow->setContest(m_contest);
    main->setMasterSuggestions(m_callSuggestions);
    main->setContest(m_contest);
    buildColourAndFontMenus();
    connectMenu();
    connectWindows();
}

ApplicationWindows::~ApplicationWindows() {
    // The keyer reads the entry binding until it is gone.
    delete m_keyerPanel;
}

void ApplicationWindows::createKeyer(const KeyerDevices& devices) {
    EntryWindow* main = m_entryWindow.get();
    m_keyerEntry = std::make_unique<EntryWindowKeyerEntry>(m_session, main->keyerFields());
    m_keyerPanel = new KeyerPanel(m_session, *m_keyerEntry, main->keyerArea(), devices);
    auto* layout = new QVBoxLayout(main->keyerArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_keyerPanel);
    main->setKeyerHooks(&m_keyerPanel->hooks());
    // Five seconds after every activation a chosen serial keying port is opened again.
    m_serialReopenTimer = new QTimer(this);
    m_serialReopenTimer->setObjectName(QStringLiteral("serialReopenTimer"));
    m_serialReopenTimer->setSingleShot(true);
    m_serialReopenTimer->setInterval(5000);
    connect(m_serialReopenTimer, &QTimer::timeout, m_keyerPanel, &KeyerPanel::reopenSerialPort);
    connect(main, &EntryWindow::activated, m_serialReopenTimer, qOverload<>(&QTimer::start));
    // Sending stops and the port closes before anything of the settings is written.
    connect(main, &EntryWindow::aboutToClose, this, [this] {
        m_serialReopenTimer->stop();
        m_keyerPanel->shutdown();
        m_entryWindow->tellSettingsNotSaved(m_keyerPanel->writeSettings());
    });
    // The buffer editor opens for the buffer whose button got the right mouse button.
    connect(m_keyerPanel, &KeyerPanel::editBufferRequested, this, &ApplicationWindows::editBuffer);
    connect(m_keyerPanel, &KeyerPanel::statusMessage, main, &EntryWindow::showStatusMessage);
    connect(m_keyerPanel, &KeyerPanel::manualCwRequested, this, &ApplicationWindows::openManualCw);
    m_keyerEntry->setVoiceKeyer(&m_keyerPanel->voice());
    m_keyerSettings = new KeyerSettingsDialog(m_keyerPanel->setup(), main->entry().options(), main);
    connect(m_keyerSettings, &KeyerSettingsDialog::utcOptionsChanged, main, &EntryWindow::setUtcOptions);
    connect(&m_keyerPanel->setup(), &KeyerSetup::serialFormatChanged, main, &EntryWindow::changeSerialFormat);
    const EntryWindow::MenuItems& menu = main->menuItems();
    QAction* programSettings = menu.programSettings;
    programSettings->setEnabled(true);
    connect(programSettings, &QAction::triggered, this, [this] {
        m_keyerSettings->exec();
        focusCallsign();
    });
    QAction* bufferBar = menu.showBufferBar;
    bufferBar->setEnabled(true);
    bufferBar->setCheckable(true);
    bufferBar->setChecked(true);
    connect(bufferBar, &QAction::triggered, this, &ApplicationWindows::showBufferBar);
}

void ApplicationWindows::editBuffer(int number) {
    BufferEditorDialog editor(m_session, &m_keyerPanel->recorder(), m_entryWindow.get());
    editor.editBuffer(number, m_keyerPanel->engine().buffers().at(number));
    connect(&editor, &BufferEditorDialog::bufferSaved, m_keyerPanel, &KeyerPanel::saveBuffer);
    editor.exec();
    focusCallsign();
}

void ApplicationWindows::openManualCw() {
    MorseEngine& engine = m_keyerPanel->engine();
    ManualCwDialog manual(engine, m_entryWindow.get());
    manual.exec();
    if (manual.ending() == ManualCwDialog::Ending::Escape) {
        m_entryWindow->focusLastEntryField();
        return;
    }
    // A buffer key closed the window: the buffer starts as its button would.
    focusCallsign();
    if (manual.fullDigitsOnce())
        engine.setFullDigitsOnce(true);
    engine.StartBuffer(manual.buffer());
}

void ApplicationWindows::showBufferBar(bool shown) {
    m_entryWindow->menuItems().showBufferBar->setChecked(shown);
    // The window grows or shrinks by the buffer bar's height only; its width stays as the operator left it.
    const int width = m_entryWindow->width();
    m_entryWindow->keyerArea()->setVisible(shown);
    m_entryWindow->adjustSize();
    m_entryWindow->resize(width, m_entryWindow->height());
}

QList<ApplicationWindows::ViewItem> ApplicationWindows::viewItems() const {
    const EntryWindow::MenuItems& menu = m_entryWindow->menuItems();
    return {
        {menu.showCallSuggestions, m_callSuggestions, &SettingsKeys::View::callSuggestions},
        {menu.showSsbList, m_workedCalls->ssb(), &SettingsKeys::View::ssbList},
        {menu.showLog, m_logWindow, &SettingsKeys::View::logWindow},
        {menu.showCwList, m_workedCalls->cw(), &SettingsKeys::View::cwList},
        {menu.showFmList, m_workedCalls->fm(), &SettingsKeys::View::fmList},
        {menu.showWorkedCounties, m_countiesWindow, &SettingsKeys::View::workedCounties},
        {menu.showStatistics, m_statisticsWindow, &SettingsKeys::View::statisticsWindow},
        {menu.showScore, m_scoreWindow, &SettingsKeys::View::scoreWindow},
    };
}

int ApplicationWindows::serialDigits() const {
    return SerialNumber::digits(m_entryWindow->entry().options().serialFormat);
}

void ApplicationWindows::focusCallsign() {
    m_entryWindow->activateWindow();
    m_entryWindow->callsignField()->setFocus();
}

bool ApplicationWindows::startUp() {
    EntryWindow* main = m_entryWindow.get();
    m_callSuggestions->setStartupDone(false);
    // The operator data window's creation: the operator data and the MASTER file come before the log.
    main->entry().setBeforeLoad([this] {
        m_operatorDialog->loadOperatorData();
        IniFile& settings = m_session.settings().file();
        m_master.loadAtStartup(settings, m_session.dialogs(), m_session.log().workedCalls());
        m_callSuggestions->setCaption(m_master.caption());
    });
    if (!main->startUp())
        return false;
    m_rig->start();
    // The contest chosen last time is scored from the start; one that no longer reads is told and none is scored.
    m_contest->rescan();
    if (const QString refused = m_contest->choose(m_session.settings().file().value(SettingsKeys::Contest::definition));
        !refused.isEmpty())
        m_session.dialogs().error(refused);
    // A contest that needs countries is scored without their rules when cty.dat does not read: said once here.
    if (const ContestDefinition* chosen = m_contest->definition();
        chosen && chosen->needsCountries() && !m_contest->countryProblem().isEmpty()) {
        m_session.dialogs().message(QStringLiteral("Ostrzeżenie"), m_contest->countryProblem(), MessageIcon::Warning,
                                    unsigned(DialogButton::Ok), DialogButton::Ok);
    }
    connect(m_operatorDialog, &QDialog::accepted, m_contest, &ContestSession::ownStationChanged);
    m_callSuggestions->setStartupDone(true);
    m_analysisDialog->syncFromSession();
    // The Cabrillo header window reads its settings when it is created, after the operator data.
    InterchangeMenu::Hooks hooks;
    hooks.warcOption = [this] { return m_entryWindow->entry().options().warcBands; };
    hooks.sentExchange = [this] {
        return m_entryWindow->autoIncrement() ? QString() : m_entryWindow->entryFields().stx;
    };
    hooks.saveLogCopy = [this](const QString& proposed) { return m_lifecycle.SaveLogCopy(proposed); };
    hooks.autoIncrement = [this] { return m_entryWindow->autoIncrement(); };
    hooks.serialDigits = [this] { return serialDigits(); };
    hooks.contest = [this] { return m_contest; };
    m_interchange = new InterchangeMenu(m_session, hooks, main);
    connect(m_interchange, &InterchangeMenu::focusCallsignRequested, this, &ApplicationWindows::focusCallsign);
    connect(m_interchange, &InterchangeMenu::serialFieldChanged, main, &EntryWindow::setSerialField);
    const EntryWindow::MenuItems& menu = main->menuItems();
    const std::pair<QAction*, void (InterchangeMenu::*)()> interchangeItems[] = {
        {menu.exportCabrillo, &InterchangeMenu::exportCabrillo},
        {menu.exportAdif, &InterchangeMenu::exportAdif},
        {menu.exportEdi, &InterchangeMenu::exportEdi},
        {menu.exportCsv, &InterchangeMenu::exportCsv},
        {menu.importAdif, &InterchangeMenu::importAdif},
        {menu.importCabrillo, &InterchangeMenu::importCabrillo},
    };
    for (const auto& [item, handler] : interchangeItems) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, m_interchange, handler);
    }

    // A first start has no saved positions: the entry window goes to the top-left corner of the screen and
    // the others around it, so no window covers the entry fields. Its frame is known only once it is shown: the
    // first activation brings a title bar the window manager put above the screen back onto it.
    m_firstStart = !m_session.settings().file().contains(SettingsKeys::Program::windowX);
    if (m_firstStart) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            placeFrame(main, QRect(screen->availableGeometry().topLeft(), expectedFrame(main).size()));
    }
    main->show();
    placeAroundMainWindow();
    // The log window is shown once the log is loaded; the first activation may hide it again.
    setWindowShown(menu.showLog, m_logWindow, true);
    return true;
}

void ApplicationWindows::placeAroundMainWindow() {
    // Until the settings say otherwise: every window beside the entry window, so none hides the entry fields.
    // Pending layout first: the entry window's height is final only once its status line has its text.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The windows not shown yet have no frame: they are placed by the frame the entry window got.
    const QRect main = expectedFrame(m_entryWindow.get());
    const QScreen* screen = m_entryWindow->screen();
    const QRect area = screen ? screen->availableGeometry() : main;
    const QList<QWidget*> windows = {m_logWindow,          m_callSuggestions,   m_entryWindow->loggedCallsWindow(),
                                     m_countiesWindow,     m_statisticsWindow,  m_scoreWindow,
                                     m_workedCalls->ssb(), m_workedCalls->cw(), m_workedCalls->fm()};
    QList<QSize> sizes;
    for (const QWidget* window : windows)
        sizes.append(expectedFrame(window).size());
    const QList<QRect> frames = layoutBesideEntryWindow(main, sizes, area);
    for (qsizetype i = 0; i < windows.size(); ++i)
        placeFrame(windows[i], frames[i]);
}

QMenu* ApplicationWindows::submenu(QAction* item) {
    auto* menu = new QMenu(m_entryWindow.get());
    item->setMenu(menu);
    item->setEnabled(true);
    return menu;
}

QAction* ApplicationWindows::addItem(QMenu* menu, const QString& name, const QString& text) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    return item;
}

void ApplicationWindows::buildColourAndFontMenus() {
    UserDialogs& dialogs = m_session.dialogs();
    const EntryWindow::MenuItems& menu = m_entryWindow->menuItems();
    QMenu* colours = submenu(menu.windowBackgrounds);
    connect(addItem(colours, QStringLiteral("actionLogBackground"), QStringLiteral("Log")), &QAction::triggered, this,
            [this, &dialogs] {
                if (const auto colour = dialogs.chooseColour(m_logWindow->backgroundColour()))
                    m_logWindow->setBackgroundColour(*colour);
            });
    connect(addItem(colours, QStringLiteral("actionCallSuggestionsBackground"), QStringLiteral("Podpowiedzi znaków")),
            &QAction::triggered, m_callSuggestions, &CallSuggestionsWindow::chooseBackground);
    connect(addItem(colours, QStringLiteral("actionLoggedCallsBackground"), QStringLiteral("Zalogowane znaki")),
            &QAction::triggered, this,
            [this, &dialogs] { m_entryWindow->loggedCallsWindow()->layout().chooseBackground(dialogs); });
    connect(addItem(colours, QStringLiteral("actionWorkedCountiesBackground"), QStringLiteral("Powiaty")),
            &QAction::triggered, this, [this, &dialogs] { m_countiesWindow->layout().chooseBackground(dialogs); });
    connect(addItem(colours, QStringLiteral("actionScoreBackground"), QStringLiteral("Wynik")), &QAction::triggered,
            this, [this, &dialogs] { m_scoreWindow->layout().chooseBackground(dialogs); });
    QMenu* listColours = colours->addMenu(QStringLiteral("Listy zalogowanych znaków "));
    connect(addItem(listColours, QStringLiteral("actionSsbListBackground"), QStringLiteral("SSB")), &QAction::triggered,
            m_workedCalls->ssb(), &WorkedCallsWindow::chooseBackground);
    connect(addItem(listColours, QStringLiteral("actionCwListBackground"), QStringLiteral("CW")), &QAction::triggered,
            m_workedCalls->cw(), &WorkedCallsWindow::chooseBackground);
    connect(addItem(listColours, QStringLiteral("actionFmListBackground"), QStringLiteral("FM")), &QAction::triggered,
            m_workedCalls->fm(), &WorkedCallsWindow::chooseBackground);
    connect(
        addItem(colours, QStringLiteral("actionSentExchangeBackground"), QStringLiteral("Grupa nadawana - 1 składnik")),
        &QAction::triggered, this, [this, &dialogs] {
            if (const auto colour = dialogs.chooseColour(m_entryWindow->sentExchangeColour()))
                m_entryWindow->setSentExchangeColour(*colour);
        });

    QMenu* fonts = submenu(menu.fonts);
    connect(addItem(fonts, QStringLiteral("actionCallSuggestionsFont"), QStringLiteral("Podpowiedzi znaków")),
            &QAction::triggered, m_callSuggestions, &CallSuggestionsWindow::chooseFont);
    connect(addItem(fonts, QStringLiteral("actionLoggedCallsFont"), QStringLiteral("Zalogowane znaki")),
            &QAction::triggered, this,
            [this, &dialogs] { m_entryWindow->loggedCallsWindow()->layout().chooseFont(dialogs); });
    connect(addItem(fonts, QStringLiteral("actionWorkedCountiesFont"), QStringLiteral("Powiaty")), &QAction::triggered,
            this, [this, &dialogs] { m_countiesWindow->layout().chooseFont(dialogs); });
    connect(addItem(fonts, QStringLiteral("actionScoreFont"), QStringLiteral("Wynik")), &QAction::triggered, this,
            [this, &dialogs] { m_scoreWindow->layout().chooseFont(dialogs); });
    QMenu* listFonts = fonts->addMenu(QStringLiteral("Listy"));
    connect(addItem(listFonts, QStringLiteral("actionSsbListFont"), QStringLiteral("SSB")), &QAction::triggered,
            m_workedCalls->ssb(), &WorkedCallsWindow::chooseFont);
    connect(addItem(listFonts, QStringLiteral("actionCwListFont"), QStringLiteral("CW")), &QAction::triggered,
            m_workedCalls->cw(), &WorkedCallsWindow::chooseFont);
    connect(addItem(listFonts, QStringLiteral("actionFmListFont"), QStringLiteral("FM")), &QAction::triggered,
            m_workedCalls->fm(), &WorkedCallsWindow::chooseFont);

    QMenu* prefixes = submenu(menu.prefixColours);
    const std::pair<const char*, WorkedCallsGroups::Prefix> prefixItems[] = {
        {"actionSpPrefixColour", WorkedCallsGroups::Prefix::SP},
        {"actionSqPrefixColour", WorkedCallsGroups::Prefix::SQ},
        {"actionSnPrefixColour", WorkedCallsGroups::Prefix::SN},
        {"actionOtherPrefixColour", WorkedCallsGroups::Prefix::Other},
    };
    const char* prefixTexts[] = {"dla prefiksów SP", "dla prefiksów SQ", "dla prefiksów SN",
                                 "dla prefiksów pozostałych"};
    for (size_t i = 0; i < std::size(prefixItems); ++i) {
        const auto prefix = prefixItems[i].second;
        connect(addItem(prefixes, QString::fromLatin1(prefixItems[i].first), QString::fromUtf8(prefixTexts[i])),
                &QAction::triggered, this, [this, prefix] { m_workedCalls->choosePrefixColour(prefix); });
    }
}

void ApplicationWindows::connectMenu() {
    EntryWindow* main = m_entryWindow.get();
    const EntryWindow::MenuItems& menu = main->menuItems();
    auto enable = [](QAction* item) {
        item->setEnabled(true);
        return item;
    };
    connect(enable(menu.newLog), &QAction::triggered, this, [this] {
        if (const auto result = m_lifecycle.NewLog(m_entryWindow->shownDate(), serialDigits())) {
            m_entryWindow->setSerialField(result->serialText);
            m_operatorDialog->exec();
        }
    });
    connect(enable(menu.openLog), &QAction::triggered, this, [this] {
        const auto result = m_lifecycle.OpenLog(m_entryWindow->autoIncrement(), serialDigits());
        if (result && result->serialText)
            m_entryWindow->setSerialField(*result->serialText);
        focusCallsign();
    });
    connect(enable(menu.saveLogAs), &QAction::triggered, this,
            [this] { m_lifecycle.SaveLogAs(m_session.operatorData); });
    connect(enable(menu.operatorData), &QAction::triggered, m_operatorDialog, &QDialog::exec);
    connect(enable(menu.exchangeAnalysis), &QAction::triggered, m_analysisDialog, &QDialog::exec);
    connect(enable(menu.contest), &QAction::triggered, this, [this] {
        m_contestDialog->prepare();
        m_contestDialog->exec();
        focusCallsign();
    });
    connect(enable(menu.masterFile), &QAction::triggered, this, [this] {
        MasterFileDialog dialog(m_master, m_session, m_entryWindow.get());
        connect(&dialog, &MasterFileDialog::suggestionsCaptionChanged, m_callSuggestions,
                &CallSuggestionsWindow::setCaption);
        dialog.exec();
        focusCallsign();
    });

    for (const ViewItem& view : viewItems())
        bindViewItem(view.item, view.window);
    connect(m_scoreWindow, &ScoreWindow::closed, this,
            [this] { m_entryWindow->menuItems().showScore->setChecked(false); });
    connect(enable(menu.currentModeListOnly), &QAction::triggered, this, [this](bool checked) {
        if (checked)
            showCurrentModeListOnly();
        focusCallsign();
    });
    // The first activation comes once the window manager has framed the entry window: its title bar is brought
    // on screen and its frame is what the other windows are placed by.
    connect(main, &EntryWindow::activated, this, [this] {
        if (m_framed || !m_entryWindow->isVisible())
            return;
        m_framed = true;
        keepTitleBarOnScreen(m_entryWindow.get());
    });
    connect(main, &EntryWindow::firstActivation, this, &ApplicationWindows::restoreLayout);
    // Without saved positions the layout is made again once the window manager has framed the entry window.
    connect(main, &EntryWindow::firstActivationWithoutSettings, this, &ApplicationWindows::placeAroundMainWindow);
    connect(main, &EntryWindow::closing, this, &ApplicationWindows::saveLayout);
}

void ApplicationWindows::bindViewItem(QAction* item, QWidget* window) {
    item->setEnabled(true);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, window](bool checked) {
        window->setVisible(checked);
        if (checked)
            focusCallsign();
    });
}

void ApplicationWindows::setWindowShown(QAction* item, QWidget* window, bool shown) {
    item->setChecked(shown);
    window->setVisible(shown);
}

void ApplicationWindows::showCurrentModeListOnly() {
    const int mode = Modes::selectorList(true).indexOf(m_session.mode());
    const EntryWindow::MenuItems& menu = m_entryWindow->menuItems();
    const std::pair<QAction*, QWidget*> lists[] = {
        {menu.showSsbList, m_workedCalls->ssb()},
        {menu.showCwList, m_workedCalls->cw()},
        {menu.showFmList, m_workedCalls->fm()},
    };
    // The digital modes have no list of their own; nothing changes for them.
    if (mode < 0 || mode > 2)
        return;
    for (int i = 0; i < 3; ++i)
        setWindowShown(lists[i].first, lists[i].second, i == mode);
}

void ApplicationWindows::connectWindows() {
    EntryWindow* main = m_entryWindow.get();
    connect(main, &EntryWindow::callsignChanged, m_callSuggestions, &CallSuggestionsWindow::updateSuggestions);
    connect(main, &EntryWindow::bandChanged, this, [this] {
        m_callSuggestions->refreshColours();
        m_workedCalls->refreshWindows();
    });
    connect(main, &EntryWindow::modeChanged, this, [this] {
        m_callSuggestions->refreshColours();
        if (m_entryWindow->menuItems().currentModeListOnly->isChecked())
            showCurrentModeListOnly();
    });
    auto showCountiesWindow = [this](bool visible) {
        setWindowShown(m_entryWindow->menuItems().showWorkedCounties, m_countiesWindow, visible);
    };
    connect(main, &EntryWindow::countiesWindowRequested, this, showCountiesWindow);
    connect(m_analysisDialog, &ExchangeAnalysisDialog::countiesWindowRequested, this, showCountiesWindow);
    connect(m_analysisDialog, &ExchangeAnalysisDialog::sentFixedPartChanged, main, &EntryWindow::setSentFixedPart);
    connect(m_operatorDialog, &OperatorDataDialog::locatorCaptionChanged, m_analysisDialog,
            &ExchangeAnalysisDialog::setLocatorCaption);
    connect(m_operatorDialog, &OperatorDataDialog::callsignFocusRequested, this, &ApplicationWindows::focusCallsign);
    connect(m_callSuggestions, &CallSuggestionsWindow::suggestionChosen, main, &EntryWindow::takeSuggestion);
    connect(m_callSuggestions, &CallSuggestionsWindow::homePressed, this, &ApplicationWindows::focusCallsign);
    connect(m_logWindow, &LogWindow::callsignFocusRequested, this, &ApplicationWindows::focusCallsign);
    connect(m_statisticsWindow, &StatisticsWindow::closed, this,
            [this] { m_entryWindow->menuItems().showStatistics->setChecked(false); });
    connect(m_logWindow, &LogWindow::escapeToCallsign, this, [this] {
        focusCallsign();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(m_entryWindow->callsignField(), &escape);
    });
    const EntryWindow::MenuItems& menu = main->menuItems();
    const std::pair<QAction*, WorkedCallsWindow*> lists[] = {{menu.showSsbList, m_workedCalls->ssb()},
                                                             {menu.showCwList, m_workedCalls->cw()},
                                                             {menu.showFmList, m_workedCalls->fm()}};
    for (const auto& [item, window] : lists) {
        connect(window, &WorkedCallsWindow::homePressed, this, &ApplicationWindows::focusCallsign);
        connect(window, &WorkedCallsWindow::closeRequested, this, [item = item] { item->setChecked(false); });
    }
    m_logWindow->setSerialField({[main] { return main->entryFields().stx; },
                                 [main](const QString& text) { main->setSerialField(text); },
                                 [main] { return main->autoIncrement(); }, [this] { return serialDigits(); }});
}

void ApplicationWindows::restoreLayout(const IniFile& settings) {
    m_logWindow->readSettings(settings);
    m_countiesWindow->readSettings(settings);
    m_statisticsWindow->readSettings(settings);
    m_scoreWindow->readSettings(settings);
    m_callSuggestions->loadSettings(settings);
    m_workedCalls->loadSettings(settings);
    // Laid out again now that the entry window's frame and place are final.
    if (m_firstStart)
        placeAroundMainWindow();
    m_entryWindow->setSentExchangeColour(
        settings.value(SettingsKeys::Program::sentExchangeColour, m_entryWindow->sentExchangeColour()));
    for (const ViewItem& view : viewItems())
        setWindowShown(view.item, view.window, settings.value(*view.flag, view.item->isChecked()));
    const EntryWindow::MenuItems& menu = m_entryWindow->menuItems();
    showBufferBar(settings.value(SettingsKeys::View::bufferBar, menu.showBufferBar->isChecked()));
    QAction* currentOnly = menu.currentModeListOnly;
    currentOnly->setChecked(settings.value(SettingsKeys::View::currentModeListOnly, currentOnly->isChecked()));
    if (currentOnly->isChecked())
        showCurrentModeListOnly();
    focusCallsign();
}

void ApplicationWindows::saveLayout(IniFile& settings) {
    for (const ViewItem& view : viewItems())
        settings.setValue(*view.flag, view.item->isChecked());
    const EntryWindow::MenuItems& menu = m_entryWindow->menuItems();
    settings.setValue(SettingsKeys::View::bufferBar, menu.showBufferBar->isChecked());
    settings.setValue(SettingsKeys::View::currentModeListOnly, menu.currentModeListOnly->isChecked());
    settings.setValue(SettingsKeys::Program::sentExchangeColour, m_entryWindow->sentExchangeColour());
    m_logWindow->writeSettings(settings);
    m_countiesWindow->writeSettings(settings);
    m_statisticsWindow->writeSettings(settings);
    m_scoreWindow->writeSettings(settings);
    m_callSuggestions->saveSettings(settings);
    m_workedCalls->saveSettings(settings);
    m_master.save(settings);
    for (QWidget* window : std::initializer_list<QWidget*>{m_logWindow, m_callSuggestions, m_countiesWindow,
                                                           m_scoreWindow, m_workedCalls->ssb(), m_workedCalls->cw(),
                                                           m_workedCalls->fm(), m_statisticsWindow})
        window->hide();
}
