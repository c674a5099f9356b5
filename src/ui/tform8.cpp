#include "tform8.h"

#include "ui_tform8.h"

#include <QKeyEvent>
#include <QStringListModel>

TForm8::TForm8(QWidget* parent)
    : QWidget(parent, Qt::Tool), m_ui(std::make_unique<Ui::TForm8>()), m_model(new QStringListModel(this)) {
    m_ui->setupUi(this);
    m_layout.emplace(this, m_ui->ListBox1, QStringLiteral("Zalogowane"));
    m_ui->ListBox1->setModel(m_model);
    m_ui->ListBox1->installEventFilter(this);
    FormResize();
}

TForm8::~TForm8() = default;

void TForm8::setCalls(const QStringList& calls) {
    m_model->setStringList(calls);
}

QStringList TForm8::calls() const {
    return m_model->stringList();
}

void TForm8::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

// As many columns as 80-pixel strips fit into the window.
void TForm8::FormResize() {
    const int width = m_ui->ListBox1->viewport()->width();
    const int columns = std::max(1, width / 80);
    m_ui->ListBox1->setGridSize(QSize(width / columns, m_ui->ListBox1->fontMetrics().height() + 2));
}

bool TForm8::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Home) {
        emit returnToCallsign();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
