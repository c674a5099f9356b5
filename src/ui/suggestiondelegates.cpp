#include "suggestiondelegates.h"

#include "lookup/callsuggestions.h"
#include "lookup/workedcallsgroups.h"
#include "widgetdialogs.h"

#include <QPainter>

QColor SuggestionDelegate::colourFor(int colourClass, bool selected) {
    if (selected)
        return QColor(255, 255, 255);
    return colourClass == int(SuggestionColour::Dupe) ? QColor(255, 0, 0) : QColor(0, 0, 128);
}

void SuggestionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    painter->setFont(option.font);
    painter->setPen(colourFor(index.data(kSuggestionColourRole).toInt(), selected));
    painter->drawText(option.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

void PrefixColourDelegate::paint(QPainter* painter,
                                 const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    painter->setFont(option.font);
    painter->setPen(colourFromWindows(m_colours[size_t(WorkedCallsGroups::prefixOf(text))]));
    painter->drawText(option.rect.adjusted(1, -1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    painter->restore();
}
