#include "keyer/morsetiming.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace Morse {

int roundHalfEven(double value) {
    return int(std::nearbyint(value)); // the default rounding mode is to nearest, ties to even
}

MorseTiming ComputeTiming(int wpm, int dashRatio, int gapRatio, int longGapRatio, double calibrationFactor) {
    MorseTiming t;
    const double divisor = double(clampSpeed(wpm)) * (calibrationFactor > 0 ? calibrationFactor : 1.0);
    t.dotLength = roundHalfEven(1200.0 / divisor);
    t.dashLength = roundHalfEven(double(dashRatio * t.dotLength) / 10.0);
    t.elementGap = roundHalfEven(double(gapRatio * t.dotLength) / 10.0);
    t.longGap = roundHalfEven(double(longGapRatio * t.dotLength) / 10.0);
    return t;
}

QString code(QChar c) {
    static const QHash<QChar, QString> table = [] {
        const char* const letters[] = {".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",
                                       ".---", "-.-",  ".-..", "--",   "-.",  "---",  ".--.", "--.-", ".-.",
                                       "...",  "-",    "..-",  "...-", ".--", "-..-", "-.--", "--.."};
        const char* const digits[] = {"-----", ".----", "..---", "...--", "....-",
                                      ".....", "-....", "--...", "---..", "----."};
        QHash<QChar, QString> t;
        for (int i = 0; i < 26; ++i)
            t.insert(QChar(u'A' + i), QString::fromLatin1(letters[i]));
        for (int i = 0; i < 10; ++i)
            t.insert(QChar(u'0' + i), QString::fromLatin1(digits[i]));
        t.insert(u'/', QStringLiteral("-..-."));
        t.insert(u'\\', QStringLiteral("-..-."));
        t.insert(u'=', QStringLiteral("-...-"));
        t.insert(u'?', QStringLiteral("..--.."));
        return t;
    }();
    return table.value(c);
}

QString cutNumbers(QString text) {
    text.replace(u'0', u'T');
    text.replace(u'9', u'N');
    return text;
}

int clampSpeed(int wpm) {
    return std::clamp(wpm, kMinSpeed, kMaxSpeed);
}

} // namespace Morse
