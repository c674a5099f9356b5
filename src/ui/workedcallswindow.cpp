#include "workedcallswindow.h"

#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "suggestiondelegates.h"
#include "ui_workedcallswindow.h"
#include "widgetdialogs.h"
#include "widgetshortcut.h"
#include "windowplacement.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QStandardItemModel>

namespace {
constexpr int kListWidth = 64;
constexpr int kOtherWidth = 74;
constexpr int kHeaderHeight = 20;
constexpr int kHeightAllowance = 41; // header and frame: the lists take the rest of the window's height
} // namespace

WorkedCallsWindow::WorkedCallsWindow(WorkedCallsGroups::List list,
                                     const std::array<int, 4>& prefixColours,
                                     UserDialogs& dialogs,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::WorkedCallsWindow>()), m_list(list), m_dialogs(dialogs) {
    m_ui->setupUi(this);
    m_lists = {m_ui->callArea1List, m_ui->callArea2List,    m_ui->callArea3List, m_ui->callArea4List,
               m_ui->callArea5List, m_ui->callArea6List,    m_ui->callArea7List, m_ui->callArea8List,
               m_ui->callArea9List, m_ui->otherCallAreaList};
    auto* delegate = new PrefixColourDelegate(prefixColours, this);
    for (QListWidget* box : m_lists) {
        box->setItemDelegate(delegate);
        box->installEventFilter(this);
        connect(widgetShortcut(box, {Qt::Key_Home}), &QShortcut::activated, this, &WorkedCallsWindow::homePressed);
        box->setContextMenuPolicy(Qt::DefaultContextMenu);
    }

    auto* model = new QStandardItemModel(0, WorkedCallsGroups::kColumns, this);
    for (int column = 0; column < WorkedCallsGroups::kColumns; ++column)
        model->setHorizontalHeaderItem(column, new QStandardItem(WorkedCallsGroups::headerText(column)));
    m_header = new QHeaderView(Qt::Horizontal, m_ui->headerArea);
    m_header->setObjectName(QStringLiteral("HeaderSections"));
    m_header->setModel(model);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < WorkedCallsGroups::kColumns; ++column)
        m_header->resizeSection(column, column == WorkedCallsGroups::kOtherColumn ? kOtherWidth : kListWidth);
    m_header->setGeometry(0, 0, 9 * kListWidth + kOtherWidth, kHeaderHeight);
    setFixedWidth(9 * kListWidth + kOtherWidth);

    setWindowTitle(WorkedCallsGroups::caption(u"", list));
    m_settings.hasWidth = false;
    m_settings.hasFontColour = false;
    m_settings.font = specFromFont(m_ui->callArea1List->font(), 0);
    m_settings.background = colourToWindows(m_ui->callArea1List->palette().color(QPalette::Base));
    buildMenu();
}

WorkedCallsWindow::~WorkedCallsWindow() = default;

SettingsKeys::WindowSection WorkedCallsWindow::section() const {
    static constexpr SettingsKeys::WindowSection sections[] = {
        SettingsKeys::WindowSection::SsbList, SettingsKeys::WindowSection::CwList, SettingsKeys::WindowSection::FmList};
    return sections[int(m_list)];
}

void WorkedCallsWindow::buildMenu() {
    static const char* const fontItems[] = {"Czcionka dla listy SSB", "Czcionka listy CW", "Czcionka listy FM"};
    m_menu = new QMenu(this);
    m_menu->addAction(QString::fromUtf8(fontItems[int(m_list)]), this, &WorkedCallsWindow::chooseFont);
    QMenu* colours = m_menu->addMenu(QStringLiteral("Kolor czcionki"));
    const std::pair<const char*, WorkedCallsGroups::Prefix> prefixes[] = {
        {"dla prefiksów SP", WorkedCallsGroups::Prefix::SP},
        {"dla prefiksów SQ", WorkedCallsGroups::Prefix::SQ},
        {"dla prefiksów SN", WorkedCallsGroups::Prefix::SN},
        {"dla pozostałych prefiksów", WorkedCallsGroups::Prefix::Other},
    };
    for (const auto& [text, prefix] : prefixes)
        colours->addAction(QString::fromUtf8(text), this,
                           [this, prefix = prefix] { emit prefixColourRequested(prefix); });
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("Zamknij okno"), this, [this] {
        hide();
        emit closeRequested();
    });
}

void WorkedCallsWindow::showGroups(const WorkedCallsGroups& groups, const QString& band) {
    for (int column = 0; column < WorkedCallsGroups::kColumns; ++column) {
        QListWidget* box = m_lists[size_t(column)];
        const QStringList entries = groups.columnEntries(m_list, column);
        if (box->count() == entries.size()) {
            bool same = true;
            for (int row = 0; same && row < entries.size(); ++row)
                same = box->item(row)->text() == entries.at(row);
            if (same)
                continue;
        }
        box->setUpdatesEnabled(false);
        box->clear();
        box->addItems(entries);
        box->setUpdatesEnabled(true);
    }
    setWindowTitle(WorkedCallsGroups::caption(band, m_list));
}

void WorkedCallsWindow::redraw() {
    for (QListWidget* box : m_lists)
        box->viewport()->update();
}

bool WorkedCallsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        m_menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void WorkedCallsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int listHeight = std::max(0, height() - kHeightAllowance);
    for (int column = 0; column < WorkedCallsGroups::kColumns; ++column) {
        QListWidget* box = m_lists[size_t(column)];
        box->setGeometry(column * kListWidth, kHeaderHeight,
                         column == WorkedCallsGroups::kOtherColumn ? kOtherWidth : kListWidth, listHeight);
    }
}

void WorkedCallsWindow::applyFont() {
    const QFont font = fontFromSpec(m_settings.font);
    for (QListWidget* box : m_lists)
        box->setFont(font);
}

void WorkedCallsWindow::applyBackground() {
    for (QListWidget* box : m_lists) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, colourFromWindows(m_settings.background));
        box->setPalette(palette);
    }
}

void WorkedCallsWindow::loadSettings(const IniFile& settings) {
    m_settings.x = geometry().x();
    m_settings.y = geometry().y();
    m_settings.height = height();
    m_settings.read(settings, section());
    placeWindow(this, {m_settings.x, m_settings.y}, {width(), m_settings.height});
    applyFont();
    applyBackground();
}

void WorkedCallsWindow::saveSettings(IniFile& settings) const {
    ListWindowSettings current = m_settings;
    current.x = geometry().x();
    current.y = geometry().y();
    current.height = height();
    current.write(settings, section());
}

void WorkedCallsWindow::chooseFont() {
    if (const auto font = m_dialogs.chooseFont(m_settings.font)) {
        m_settings.font = *font;
        applyFont();
    }
}

void WorkedCallsWindow::chooseBackground() {
    if (const auto colour = m_dialogs.chooseColour(m_settings.background)) {
        m_settings.background = *colour;
        applyBackground();
    }
}
