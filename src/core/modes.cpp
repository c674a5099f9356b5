#include "core/modes.h"

namespace {

constexpr ModeInfo kModes[] = {
    {"SSB", "PH", '0', "59", "59", false},   {"CW", "CW", '1', "599", "599", false},
    {"FM", "FM", '2', "59", "59", false},    {"RTTY", "RY", '3', "599", "59", true},
    {"PSK31", "PS", '4', "599", "59", true}, {"HELL", "HE", '5', "599", "59", true},
};

} // namespace

namespace Modes {

std::span<const ModeInfo> all() {
    return kModes;
}

QStringList selectorList(bool withDigital) {
    QStringList list;
    for (const ModeInfo& mode : kModes) {
        if (withDigital || !mode.digital)
            list.append(QString::fromLatin1(mode.name));
    }
    return list;
}

const ModeInfo* byName(QStringView name) {
    for (const ModeInfo& mode : kModes) {
        if (name.compare(QLatin1String(mode.name), Qt::CaseInsensitive) == 0)
            return &mode;
    }
    return nullptr;
}

const ModeInfo* byCode(QStringView code) {
    for (const ModeInfo& mode : kModes) {
        if (code.compare(QLatin1String(mode.code), Qt::CaseInsensitive) == 0)
            return &mode;
    }
    return nullptr;
}

QString defaultReport(const ModeInfo* mode, QStringView currentText, ReportReset when) {
    if (currentText.contains(QLatin1Char('A'), Qt::CaseInsensitive))
        return QStringLiteral("59A");
    if (currentText.contains(QLatin1Char('S'), Qt::CaseInsensitive))
        return QStringLiteral("59S");
    if (!mode)
        return QStringLiteral("59");
    return QString::fromLatin1(when == ReportReset::ModeSwitch ? mode->rstOnModeSwitch : mode->rstAfterQso);
}

std::optional<QChar> reportCharacter(QChar typed) {
    const QChar upper = typed.toUpper();
    if (upper.isDigit() || upper == QLatin1Char('A') || upper == QLatin1Char('S'))
        return upper;
    return std::nullopt;
}

} // namespace Modes

Mode Mode::fromInfo(const ModeInfo* info) {
    return info ? Mode(quint8(info - kModes)) : Mode();
}

Mode Mode::fromName(QStringView name) {
    return fromInfo(Modes::byName(name));
}

Mode Mode::fromCode(QStringView code) {
    // Every line of a log is read through here: the usual upper-case codes are matched without a folding
    // comparison.
    if (code.size() == 2) {
        for (const ModeInfo& mode : kModes) {
            if (code[0] == QLatin1Char(mode.code[0]) && code[1] == QLatin1Char(mode.code[1]))
                return fromInfo(&mode);
        }
    }
    if (const ModeInfo* info = Modes::byCode(code))
        return fromInfo(info);
    Mode other;
    for (int i = 0; i < 2; ++i)
        other.m_code[i] = i < code.size() ? code[i].unicode() : u' ';
    return other;
}

const ModeInfo* Mode::info() const {
    return isKnown() ? &kModes[m_index] : nullptr;
}

QString Mode::name() const {
    return isKnown() ? QString::fromLatin1(kModes[m_index].name) : QString();
}

QString Mode::code() const {
    if (isKnown())
        return QString::fromLatin1(kModes[m_index].code);
    return QString(reinterpret_cast<const QChar*>(m_code), 2);
}

char Mode::dupeCode() const {
    return isKnown() ? kModes[m_index].dupeCode : '?';
}

bool Mode::isDigital() const {
    return isKnown() && kModes[m_index].digital;
}
