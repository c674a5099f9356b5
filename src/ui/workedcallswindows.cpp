#include "workedcallswindows.h"

#include "log/logsession.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

namespace {
// In the order of WorkedCallsGroups::Prefix.
const SettingsKey<int>* const kPrefixColourKeys[] = {
    &SettingsKeys::WorkedCalls::spColour, &SettingsKeys::WorkedCalls::sqColour, &SettingsKeys::WorkedCalls::snColour,
    &SettingsKeys::WorkedCalls::otherColour};
} // namespace

WorkedCallsWindows::WorkedCallsWindows(LogSession& session, QWidget* parentWindow)
    : QObject(parentWindow), m_session(session),
      m_ssb(new WorkedCallsWindow(WorkedCallsGroups::List::SSB, m_prefixColours, session.dialogs(), parentWindow)),
      m_cw(new WorkedCallsWindow(WorkedCallsGroups::List::CW, m_prefixColours, session.dialogs(), parentWindow)),
      m_fm(new WorkedCallsWindow(WorkedCallsGroups::List::FM, m_prefixColours, session.dialogs(), parentWindow)) {
    for (WorkedCallsWindow* window : {m_ssb, m_cw, m_fm})
        connect(window, &WorkedCallsWindow::prefixColourRequested, this, &WorkedCallsWindows::choosePrefixColour);
    connect(&session, &LogSession::logReloaded, this, &WorkedCallsWindows::refreshWindows);
    connect(&session, &LogSession::qsoAdded, this, &WorkedCallsWindows::qsoAdded);
}

WorkedCallsWindows::~WorkedCallsWindows() {
    // Without a parent window the windows are ours to delete.
    if (!parent()) {
        delete m_ssb;
        delete m_cw;
        delete m_fm;
    }
}

WorkedCallsWindow* WorkedCallsWindows::window(WorkedCallsGroups::List list) const {
    switch (list) {
    case WorkedCallsGroups::List::SSB:
        return m_ssb;
    case WorkedCallsGroups::List::CW:
        return m_cw;
    case WorkedCallsGroups::List::FM:
        return m_fm;
    }
    return m_ssb;
}

void WorkedCallsWindows::refreshWindows() {
    m_band = m_session.band();
    m_groups.rebuild(m_session.log().records(), m_session.currentBand());
    showAll();
}

void WorkedCallsWindows::qsoAdded(qsizetype row) {
    if (row < 0 || row >= m_session.log().size() || m_band != m_session.band()) {
        refreshWindows();
        return;
    }
    // One new line changes at most one entry: add it rather than rebuild from the whole log.
    m_groups.add(m_session.log().record(row), m_session.currentBand());
    showAll();
}

void WorkedCallsWindows::showAll() {
    for (int list = 0; list < WorkedCallsGroups::kLists; ++list) {
        WorkedCallsWindow* shown = window(WorkedCallsGroups::List(list));
        shown->showGroups(m_groups, m_band);
        shown->redraw();
    }
}

void WorkedCallsWindows::setPrefixColour(WorkedCallsGroups::Prefix prefix, int colour) {
    m_prefixColours[size_t(prefix)] = colour;
}

void WorkedCallsWindows::choosePrefixColour(WorkedCallsGroups::Prefix prefix) {
    if (const auto colour = m_session.dialogs().chooseColour(prefixColour(prefix)))
        setPrefixColour(prefix, *colour);
    refreshWindows();
}

void WorkedCallsWindows::loadSettings(const IniFile& settings) {
    for (size_t i = 0; i < m_prefixColours.size(); ++i)
        m_prefixColours[i] = settings.value(*kPrefixColourKeys[i], m_prefixColours[i]);
    m_ssb->loadSettings(settings);
    m_cw->loadSettings(settings);
    m_fm->loadSettings(settings);
}

void WorkedCallsWindows::saveSettings(IniFile& settings) const {
    IniFile::Batch batch(settings);
    m_ssb->saveSettings(settings);
    for (size_t i = 0; i < m_prefixColours.size(); ++i)
        settings.setValue(*kPrefixColourKeys[i], m_prefixColours[i]);
    m_cw->saveSettings(settings);
    m_fm->saveSettings(settings);
}
