#include "logcolumnheader.h"

#include <QFontDatabase>
#include <QPainter>

LogColumnHeader::LogColumnHeader(QWidget* parent)
    : QWidget(parent), m_columnFont(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    setMinimumHeight(fontMetrics().height() + 4);
}

const QList<LogColumnHeader::Title>& LogColumnHeader::titles() {
    static const QList<Title> list{{"Data", 1},
                                   {"Czas", 12},
                                   {"Pas.", 19},
                                   {"E.", 24},
                                   {"RSTn", 27},
                                   {"Grupa nadana", 31},
                                   {"Znak korespondenta", 43},
                                   {"RSTo", 59},
                                   {"Grupa odebrana", 63},
                                   {"Inne", 75}};
    return list;
}

void LogColumnHeader::setColumnFont(const QFont& font) {
    m_columnFont = font;
    update();
}

void LogColumnHeader::setShowOther(bool show) {
    m_showOther = show;
    update();
}

void LogColumnHeader::setTextOffset(int pixels) {
    m_offset = pixels;
    update();
}

void LogColumnHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal charWidth = QFontMetricsF(m_columnFont).horizontalAdvance(QLatin1Char('0'));
    const int baseline = (height() + fontMetrics().ascent() - fontMetrics().descent()) / 2;
    for (const Title& title : titles()) {
        if (!m_showOther && title.column >= 75)
            continue;
        const int x = m_offset + int(charWidth * (title.column - 1));
        painter.drawText(x, baseline, QString::fromUtf8(title.text));
    }
}
