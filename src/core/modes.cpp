#include "core/modes.h"

namespace {

constexpr ModeInfo kModes[] = {
    {"SSB", "PH", '0', "59", "59"},   {"CW", "CW", '1', "599", "599"},   {"FM", "FM", '2', "59", "59"},
    {"RTTY", "RY", '3', "599", "59"}, {"PSK31", "PS", '4', "599", "59"}, {"HELL", "HE", '5', "599", "59"},
};

} // namespace

namespace Modes {

std::span<const ModeInfo> all() {
    return kModes;
}

QStringList selectorList(bool withDigital) {
    QStringList list;
    const int count = withDigital ? 6 : 3;
    for (int i = 0; i < count; ++i)
        list.append(QString::fromLatin1(kModes[i].name));
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

bool codeMatchesMode(QStringView code, QStringView modeName) {
    const ModeInfo* mode = byName(modeName);
    return mode && code == QLatin1String(mode->code);
}

char dupeCodeForLineCode(QStringView code) {
    const ModeInfo* mode = byCode(code);
    return mode ? mode->dupeCode : '?';
}

QString defaultReport(QStringView modeName, QStringView currentText, ReportReset when) {
    if (currentText.contains(QLatin1Char('A'), Qt::CaseInsensitive))
        return QStringLiteral("59A");
    if (currentText.contains(QLatin1Char('S'), Qt::CaseInsensitive))
        return QStringLiteral("59S");
    const ModeInfo* mode = byName(modeName);
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
