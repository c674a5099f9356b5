#pragma once

#include <QWidget>

#include <memory>

class QTreeWidgetItem;
namespace Ui {
class HelpWindow;
}

// "Plik pomocy": the help page shown inside the program, beside a table of contents made of the page's
// section headings, so that help works on a machine without a web browser. Links within the page work too.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // html: the page; its h2 and h3 headings that carry an id become the contents.
    explicit HelpWindow(const QString& html, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Opened again while it is hidden, minimised or behind other windows: it comes to the front.
    void showInFront();

public slots:
    // The page scrolls to the heading with this id.
    void showSection(const QString& anchor);

private:
    void buildContents();
    void onContentsItemChosen(QTreeWidgetItem* item);

    std::unique_ptr<Ui::HelpWindow> m_ui;
};
