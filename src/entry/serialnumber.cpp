#include "entry/serialnumber.h"

namespace SerialNumber {

SerialFormat formatFromIndex(int index) {
    if (index == 0)
        return SerialFormat::One;
    if (index == 1)
        return SerialFormat::Two;
    return SerialFormat::Three;
}

QString first(SerialFormat format) {
    return pad(QStringLiteral("1"), format);
}

int digits(SerialFormat format) {
    return format == SerialFormat::One ? 1 : format == SerialFormat::Two ? 2 : 3;
}

QString pad(QStringView serial, SerialFormat format) {
    const qsizetype width = digits(format);
    QString out = serial.toString();
    if (out.size() < width)
        out.prepend(QString(width - out.size(), QLatin1Char('0')));
    return out;
}

QString reformat(QStringView serial, SerialFormat format) {
    QString out = serial.toString();
    if (!isDigitsOnly(serial))
        return out;
    switch (format) {
    case SerialFormat::One:
        for (int dropped = 0; dropped < 2 && out.size() >= 2 && out.startsWith(u'0'); ++dropped)
            out.remove(0, 1);
        return out;
    case SerialFormat::Two:
        if (out.size() == 1)
            return u'0' + out;
        if (out.size() >= 3 && out.startsWith(u'0'))
            out.remove(0, 1);
        return out;
    case SerialFormat::Three:
        return pad(out, format);
    }
    return out;
}

bool isDigitsOnly(QStringView text) {
    if (text.isEmpty())
        return false;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<QString> next(QStringView serial, SerialFormat format) {
    const QStringView trimmed = serial.trimmed();
    if (!isDigitsOnly(trimmed))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return pad(QString::number(value + 1), format);
}

QString
catchUpWithLog(const QString& stored, const std::optional<Qso>& newest, bool separateVhfSerials, SerialFormat format) {
    const QStringView trimmed = QStringView(stored).trimmed();
    if (!isDigitsOnly(trimmed) || !newest)
        return stored;
    // Separate VHF serials are counted per band from the log already.
    if (separateVhfSerials && newest->band.isVhf())
        return stored;
    QStringView logged = newest->stx;
    if (logged.size() > 6 && !isDigitsOnly(logged))
        logged = logged.left(logged.size() - 6).trimmed();
    bool loggedOk = false;
    bool storedOk = false;
    const qlonglong last = logged.toLongLong(&loggedOk);
    const qlonglong current = trimmed.toLongLong(&storedOk);
    if (!loggedOk || !storedOk || !isDigitsOnly(logged) || current > last)
        return stored;
    return pad(QString::number(last + 1), format);
}

} // namespace SerialNumber
