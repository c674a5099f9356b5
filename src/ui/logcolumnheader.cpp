#include "logcolumnheader.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

// The column after the last title: the QSO line's suffix ("Inne") is at most this wide.
constexpr int kEndColumn = 87;

qreal fontSize(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
}

QFont withSize(QFont font, qreal points) {
    font.setPointSizeF(points);
    return font;
}

} // namespace

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

LogColumnHeader::Layout LogColumnHeader::titleLayout() const {
    const qreal charWidth = QFontMetricsF(m_columnFont).horizontalAdvance(QLatin1Char('0'));
    // A title ends a little before the next column starts, so neighbouring titles never touch.
    const qreal gap = std::max<qreal>(2.0, charWidth / 2);
    Layout layout;
    const QList<Title>& all = titles();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!m_showOther && all[i].column >= 75)
            continue;
        const int next = i + 1 < all.size() ? all[i + 1].column : kEndColumn;
        PlacedTitle placed;
        placed.text = QString::fromUtf8(all[i].text);
        placed.x = m_offset + charWidth * (all[i].column - 1);
        placed.room = charWidth * (next - all[i].column) - gap;
        layout.titles.append(placed);
    }

    auto fits = [&layout](const QFont& font) {
        const QFontMetricsF metrics(font);
        return std::all_of(layout.titles.begin(), layout.titles.end(),
                           [&metrics](const PlacedTitle& t) { return metrics.horizontalAdvance(t.text) <= t.room; });
    };
    // The widget's own font when the titles fit in it, else the largest smaller size in which they all do.
    QFont titleFont = font();
    qreal size = fontSize(titleFont);
    while (!fits(titleFont) && size > kSmallestPointSize) {
        size = std::max(kSmallestPointSize, size - 0.25);
        titleFont = withSize(titleFont, size);
    }
    layout.font = titleFont;
    const QFontMetricsF metrics(titleFont);
    for (PlacedTitle& t : layout.titles) {
        if (metrics.horizontalAdvance(t.text) > t.room)
            t.text = metrics.elidedText(t.text, Qt::ElideRight, t.room);
    }
    return layout;
}

void LogColumnHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Layout layout = titleLayout();
    painter.setFont(layout.font);
    const QFontMetricsF metrics(layout.font);
    const qreal baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
    for (const PlacedTitle& title : layout.titles)
        painter.drawText(QPointF(title.x, baseline), title.text);
}

void LogColumnHeader::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        setMinimumHeight(fontMetrics().height() + 4);
    QWidget::changeEvent(event);
}
