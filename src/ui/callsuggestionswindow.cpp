#include "callsuggestionswindow.h"

#include "log/logsession.h"
#include "lookup/masterselection.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "suggestiondelegates.h"
#include "ui_callsuggestionswindow.h"
#include "widgetdialogs.h"
#include "widgetshortcut.h"
#include "windowplacement.h"

#include <QShortcut>

namespace {
constexpr int kColumnWidth = 80;
} // namespace

CallSuggestionsWindow::CallSuggestionsWindow(LogSession& session, MasterSelection& master, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::CallSuggestionsWindow>()), m_session(session),
      m_master(master) {
    m_ui->setupUi(this);
    m_ui->suggestionList->setItemDelegate(new SuggestionDelegate(m_ui->suggestionList));
    connect(widgetShortcut(m_ui->suggestionList, {Qt::Key_Home}), &QShortcut::activated, this,
            &CallSuggestionsWindow::homePressed);
    setWindowTitle(master.caption());
    m_settings.font = specFromFont(m_ui->suggestionList->font(), 0x800000);
    m_settings.background = colourToWindows(m_ui->suggestionList->palette().color(QPalette::Base));

    connect(m_ui->suggestionList, &QListWidget::itemClicked, this, &CallSuggestionsWindow::takeClickedSuggestion);
    connect(&session, &LogSession::logReloaded, this, &CallSuggestionsWindow::refreshColours);
    connect(&session, &LogSession::qsoAdded, this, [this] {
        m_suggestions.qsoAdded();
        refreshColours();
    });
}

CallSuggestionsWindow::~CallSuggestionsWindow() = default;

void CallSuggestionsWindow::updateSuggestions(const QString& callsign) {
    const CallSuggestions::Update update =
        m_suggestions.UpdateSuggestions(callsign, m_master, m_session.log().workedCalls(), m_startupDone);
    if (update.change == CallSuggestions::Change::Replaced)
        showEntries(update.entries);
    else if (update.change == CallSuggestions::Change::Cleared)
        m_ui->suggestionList->clear();
}

void CallSuggestionsWindow::showEntries(const QStringList& entries) {
    m_ui->suggestionList->setUpdatesEnabled(false);
    m_ui->suggestionList->clear();
    m_ui->suggestionList->addItems(entries);
    refreshColours();
    applyLayout();
    m_ui->suggestionList->setUpdatesEnabled(true);
}

void CallSuggestionsWindow::refreshColours() {
    for (int row = 0; row < m_ui->suggestionList->count(); ++row) {
        QListWidgetItem* item = m_ui->suggestionList->item(row);
        const auto colour = CallSuggestions::colourFor(
            item->text(), [this](const DupeKey& key) { return m_session.log().hasWorkedKey(key); },
            m_session.currentBand(), m_session.currentMode(), m_session.oneQsoPerBand);
        item->setData(kSuggestionColourRole, int(colour));
    }
}

QStringList CallSuggestionsWindow::entries() const {
    QStringList list;
    for (int row = 0; row < m_ui->suggestionList->count(); ++row)
        list.append(m_ui->suggestionList->item(row)->text());
    return list;
}

std::optional<QString> CallSuggestionsWindow::firstEntry() const {
    if (m_ui->suggestionList->count() == 0)
        return std::nullopt;
    return m_ui->suggestionList->item(0)->text();
}

EntryFieldHops::ToExchange CallSuggestionsWindow::ctrlSpaceInCallsign(const EntryFieldHops::Fields& fields,
                                                                      EntryFieldHops& hops) {
    return hops.ctrlSpace(fields, firstEntry(), isVisible(), m_suggestions, m_session.analysis,
                          m_session.log().workedCalls());
}

void CallSuggestionsWindow::takeClickedSuggestion(QListWidgetItem* item) {
    // The marker only says that more callsigns match; it is not a callsign to take.
    if (!item || item->text() == CallSuggestions::moreMarker())
        return;
    emit suggestionChosen(item->text());
}

void CallSuggestionsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
}

void CallSuggestionsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyLayout();
}

void CallSuggestionsWindow::applyLayout() {
    // As many whole 80-pixel columns as the width holds, but never narrower than the longest call shown, in
    // bold, so no call is clipped and no two run into each other.
    QListWidget* list = m_ui->suggestionList;
    QFont bold = list->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int longest = 0;
    for (int row = 0; row < list->count(); ++row)
        longest = std::max(longest, metrics.horizontalAdvance(list->item(row)->text()));
    const int needed = longest + 2 * metrics.averageCharWidth();
    const int viewportWidth = list->viewport()->width();
    const int columns = std::max(1, std::min(width() / kColumnWidth, viewportWidth / std::max(1, needed)));
    const int rowHeight = metrics.height() + 2;
    list->setGridSize(QSize(std::max({1, needed, viewportWidth / columns}), rowHeight));
}

void CallSuggestionsWindow::loadSettings(const IniFile& settings) {
    m_settings.x = geometry().x();
    m_settings.y = geometry().y();
    m_settings.width = width();
    m_settings.height = height();
    m_settings.read(settings, SettingsKeys::WindowSection::CallSuggestions);
    placeWindow(this, {m_settings.x, m_settings.y}, {std::max(kColumnWidth, m_settings.width), m_settings.height});
    m_ui->suggestionList->setFont(fontFromSpec(m_settings.font));
    QPalette palette = m_ui->suggestionList->palette();
    palette.setColor(QPalette::Base, colourFromWindows(m_settings.background));
    m_ui->suggestionList->setPalette(palette);
    applyLayout();
}

void CallSuggestionsWindow::saveSettings(IniFile& settings) const {
    ListWindowSettings current = m_settings;
    current.x = geometry().x();
    current.y = geometry().y();
    current.width = width();
    current.height = height();
    current.write(settings, SettingsKeys::WindowSection::CallSuggestions);
}

void CallSuggestionsWindow::chooseFont() {
    if (const auto font = m_session.dialogs().chooseFont(m_settings.font)) {
        m_settings.font = *font;
        m_ui->suggestionList->setFont(fontFromSpec(*font));
        applyLayout();
    }
}

void CallSuggestionsWindow::chooseBackground() {
    if (const auto colour = m_session.dialogs().chooseColour(m_settings.background)) {
        m_settings.background = *colour;
        QPalette palette = m_ui->suggestionList->palette();
        palette.setColor(QPalette::Base, colourFromWindows(*colour));
        m_ui->suggestionList->setPalette(palette);
    }
}
