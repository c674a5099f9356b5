#include "helpwindow.h"

#include "ui_helpwindow.h"

#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>

namespace {

constexpr int kAnchorRole = Qt::UserRole;

// The id of a heading: the importer keeps it as an anchor name of the heading's text.
QString headingAnchor(const QTextBlock& block) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QStringList names = fragment.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.first();
    }
    return {};
}

} // namespace

HelpWindow::HelpWindow(const QString& html, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::HelpWindow>()) {
    m_ui->setupUi(this);
    m_ui->pageBrowser->setHtml(html);
    const QString title = m_ui->pageBrowser->documentTitle();
    if (!title.isEmpty())
        setWindowTitle(title);
    m_ui->splitter->setStretchFactor(1, 1);
    m_ui->splitter->setSizes({240, 720});
    buildContents();
    // The page opens at its top: the contents, focused first, would pick their first entry and jump there.
    m_ui->pageBrowser->setFocus();

    connect(m_ui->contentsTree, &QTreeWidget::itemClicked, this, &HelpWindow::onContentsItemChosen);
    connect(m_ui->contentsTree, &QTreeWidget::itemActivated, this, &HelpWindow::onContentsItemChosen);
    // Arrow keys in the contents move through the page as well.
    connect(m_ui->contentsTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onContentsItemChosen(current); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::buildContents() {
    QTreeWidgetItem* section = nullptr;
    for (QTextBlock block = m_ui->pageBrowser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != 2 && level != 3)
            continue;
        // A heading without an id could not be jumped to.
        const QString anchor = headingAnchor(block);
        if (anchor.isEmpty())
            continue;
        auto* item = level == 3 && section ? new QTreeWidgetItem(section) : new QTreeWidgetItem(m_ui->contentsTree);
        item->setText(0, block.text().simplified());
        item->setData(0, kAnchorRole, anchor);
        if (level == 2)
            section = item;
    }
    m_ui->contentsTree->expandAll();
}

void HelpWindow::onContentsItemChosen(QTreeWidgetItem* item) {
    if (item)
        showSection(item->data(0, kAnchorRole).toString());
}

void HelpWindow::showSection(const QString& anchor) {
    m_ui->pageBrowser->scrollToAnchor(anchor);
}

void HelpWindow::showInFront() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
