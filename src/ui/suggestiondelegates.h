#pragma once

#include <QStyledItemDelegate>

#include <array>

// Item data of the owner-drawn lists: the suggestion's colour class (SuggestionColour as int).
inline constexpr int kSuggestionColourRole = Qt::UserRole + 1;

// Draws a suggestion red when it would be a dupe, navy otherwise, white when selected; the text one pixel
// right of and below the item's corner.
class SuggestionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    static QColor colourFor(int colourClass, bool selected);
};

// Draws a worked-calls entry in the colour of its prefix (SP, SQ, SN, others), one pixel right of the left
// edge and one pixel above the top.
class PrefixColourDelegate : public QStyledItemDelegate {
public:
    PrefixColourDelegate(const std::array<int, 4>& colours, QObject* parent)
        : QStyledItemDelegate(parent), m_colours(colours) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const std::array<int, 4>& m_colours;
};
