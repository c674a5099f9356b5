#include "keyer/cwdaemonprotocol.h"

#include "keyer/morsetiming.h"

#include <algorithm>
#include <cmath>

namespace Cwdaemon {

namespace {

QByteArray request(char code, int value) {
    return QByteArray("\x1b") + code + QByteArray::number(value);
}

} // namespace

Address parseAddress(const QString& address) {
    Address a;
    QString text = address.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("localhost");
    QString portText;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return a;
        a.host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':'))
                return a;
            portText = rest.mid(1);
        }
    } else if (text.count(u':') == 1) {
        a.host = text.section(u':', 0, 0).trimmed();
        portText = text.section(u':', 1).trimmed();
    } else {
        a.host = text; // a bare IPv6 address or a host name
    }
    if (portText.isNull()) {
        a.port = kDefaultPort;
    } else {
        bool ok = false;
        a.port = portText.toInt(&ok);
        if (!ok || a.port < 1 || a.port > 65535)
            return a;
    }
    a.ok = !a.host.isEmpty();
    return a;
}

QByteArray reset() {
    return QByteArrayLiteral("\x1b"
                             "0");
}

QByteArray abort() {
    return QByteArrayLiteral("\x1b"
                             "4");
}

QByteArray speed(int wpm) {
    return request('2', std::clamp(wpm, kMinSpeed, kMaxSpeed));
}

QByteArray weighting(int percent) {
    return request('7', std::clamp(percent, -kMaxWeighting, kMaxWeighting));
}

QByteArray tone(int hz) {
    return request('3', std::clamp(hz, 0, kMaxToneHz));
}

QByteArray ptt(bool on) {
    return request('a', on ? 1 : 0);
}

QByteArray pttDelay(int ms) {
    return request('d', std::clamp(ms, 0, kMaxPttDelayMs));
}

QByteArray tune(int seconds) {
    return request('c', std::clamp(seconds, 0, kMaxTuneSeconds));
}

QByteArray replyRequest(const QByteArray& token) {
    return QByteArray("\x1bh") + token;
}

int weightingFor(int dashRatio, int gapRatio) {
    // cwdaemon's weighting lengthens the marks at the expense of the gaps, in percent of a dot. A dash longer than
    // three dots and a gap shorter than one both make the keying heavier: the mean of the two departures.
    const double dashPercent = (dashRatio - 30) * 10.0 / 3.0;
    const double gapPercent = (10 - gapRatio) * 10.0;
    return std::clamp(int(std::lround((dashPercent + gapPercent) / 2.0)), -kMaxWeighting, kMaxWeighting);
}

int toneFor(const TextKeyerSettings& settings) {
    // A tone of 0 would silence the daemon: a sidetone that is on without a pitch sounds at the usual one.
    if (!settings.sidetone)
        return 0;
    return settings.toneHz > 0 ? std::min(settings.toneHz, kMaxToneHz) : TextKeyerSettings().toneHz;
}

int pttDelayFor(const TextKeyerSettings& settings) {
    // cwdaemon raises PTT around its text only with a delay above zero, and clips a longer one to 50 ms.
    return settings.ptt ? std::clamp(settings.pttLeadMs, 1, kMaxPttDelayMs) : 0;
}

QList<QByteArray> settingsRequests(const TextKeyerSettings& settings) {
    return {speed(settings.wpm), weighting(weightingFor(settings.dashRatio, settings.gapRatio)),
            tone(toneFor(settings)), pttDelay(pttDelayFor(settings))};
}

bool keys(QChar c) {
    return c == u' ' || !Morse::code(c).isEmpty();
}

char textByte(QChar c) {
    return c == u'\\' ? '/' : char(c.toLatin1());
}

CharacterUnits unitsOf(QChar c) {
    // A blank lengthens the gap after the character before it from three dots to seven.
    if (c == u' ')
        return {0, 4};
    const QString code = Morse::code(c);
    if (code.isEmpty())
        return {};
    int marks = int(code.size()) - 1;
    for (QChar e : code)
        marks += e == u'-' ? 3 : 1;
    return {marks, 3};
}

std::optional<QByteArray> replyToken(const QByteArray& datagram) {
    QByteArray text = datagram;
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    if (!text.startsWith('h'))
        return std::nullopt;
    return text.mid(1);
}

} // namespace Cwdaemon
