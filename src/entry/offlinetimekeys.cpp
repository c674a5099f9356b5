#include "entry/offlinetimekeys.h"

namespace {

using Action = OfflineTimeKeys::Action;

bool altW(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return key == Qt::Key_W && (held == Qt::AltModifier || held == (Qt::AltModifier | Qt::ControlModifier));
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

OfflineTimeKeys::Action
OfflineTimeKeys::action(Field field, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    if (key == Qt::Key_Escape || altW(key, modifiers))
        return Action::ToCallsignAfterKeyer;
    if (field == Field::Date)
        return text == QLatin1String("-") ? Action::DateSeparator : Action::None;
    if (isEnter(key) || key == Qt::Key_Home)
        return Action::ToCallsign;
    return Action::None;
}

std::optional<OfflineTimeKeys::Section>
OfflineTimeKeys::sectionAfterSeparator(Section current, QStringView dateText, int cursor) {
    if (cursor > 0 && cursor <= dateText.size() && dateText.at(cursor - 1) == QLatin1Char('-'))
        return std::nullopt;
    switch (current) {
    case Section::Year:
        return Section::Month;
    case Section::Month:
        return Section::Day;
    case Section::Day:
    case Section::Other:
        break;
    }
    return std::nullopt;
}
