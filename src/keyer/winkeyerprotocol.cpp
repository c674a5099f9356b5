#include "winkeyerprotocol.h"

#include <algorithm>
#include <cmath>

namespace Winkeyer {

namespace {

quint8 clampByte(double value, int low, int high) {
    return quint8(std::clamp(int(std::lround(value)), low, high));
}

QByteArray bytes(std::initializer_list<quint8> list) {
    QByteArray out;
    for (quint8 b : list)
        out.append(char(b));
    return out;
}

} // namespace

quint8 speedByte(int wpm) {
    // 0 would hand the speed to the knob; the program always sets one.
    return quint8(std::clamp(wpm, 5, 99));
}

Registers registersFor(const TextKeyerSettings& settings) {
    Registers r;
    r.speed = speedByte(settings.wpm);
    // Weighting keeps a dot and the gap after it at two units and moves the split; the gap/dot ratio g of our
    // settings is (100 - w) / w.
    const double gap = std::max(settings.gapRatio, 1) / 10.0;
    r.weighting = clampByte(100.0 / (1.0 + gap), 10, 90);
    // The chip's dash is 3 * n / 50 dots.
    r.ditDahRatio = clampByte(settings.dashRatio * 50.0 / 30.0, 33, 66);
    if (settings.ptt) {
        r.pttLead = clampByte(settings.pttLeadMs / 10.0, 0, 250);
        // Released after as long as it was raised ahead.
        r.pttTail = r.pttLead;
    }
    r.sidetone = clampByte(4000.0 / std::max(settings.toneHz, 1), 1, 10);
    r.pinConfig = kPinKeyOut1 | (settings.sidetone ? kPinSidetone : 0) | (settings.ptt ? kPinPtt : 0);
    r.mode = kModeSerialEcho;
    return r;
}

QByteArray hostOpen() {
    return bytes({Admin, HostOpen});
}

QByteArray hostClose() {
    return bytes({Admin, HostClose});
}

QByteArray hostOpenSequence() {
    return bytes({NullCommand, NullCommand, NullCommand}) + hostOpen();
}

QByteArray setSpeed(int wpm) {
    return bytes({SetSpeed, speedByte(wpm)});
}

QByteArray bufferedSpeed(int wpm) {
    return bytes({BufferedSpeed, speedByte(wpm)});
}

QByteArray clearBuffer() {
    return bytes({ClearBuffer});
}

QByteArray ptt(bool on) {
    return bytes({BufferedPtt, quint8(on ? 1 : 0)});
}

QByteArray keyImmediate(bool on) {
    return bytes({KeyImmediate, quint8(on ? 1 : 0)});
}

QByteArray requestSpeedPot() {
    return bytes({GetSpeedPot});
}

QByteArray configure(const Registers& r) {
    return bytes({ModeRegister, r.mode, PinConfig, r.pinConfig, SetSpeed, r.speed, SetWeighting, r.weighting,
                  DitDahRatio, r.ditDahRatio, SetPttTiming, r.pttLead, r.pttTail, SidetoneControl, r.sidetone,
                  SpeedPotSetup, quint8(kSpeedPotMin), quint8(kSpeedPotRange), 0});
}

std::optional<char> keyableByte(QChar c) {
    const QChar upper = c.toUpper();
    const char16_t u = upper.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u' ')
        return char(u);
    if (u == u'\\')
        return '/';
    static constexpr char16_t punctuation[] = u"\"$'()+,-./:;=?@";
    for (char16_t p : punctuation) {
        if (p != 0 && p == u)
            return char(u);
    }
    return std::nullopt;
}

int speedPotWpm(int value) {
    return kSpeedPotMin + std::clamp(value, 0, kSpeedPotRange);
}

std::vector<Event> Decoder::feed(const QByteArray& in) {
    std::vector<Event> events;
    for (char ch : in) {
        const quint8 b = quint8(ch);
        if ((b & 0xC0) == 0xC0) {
            events.push_back({Event::Status, quint8(b & 0x3F)});
        } else if ((b & 0xC0) == 0x80) {
            events.push_back({Event::SpeedPot, quint8(b & 0x3F)});
        } else if (m_expectVersion) {
            m_expectVersion = false;
            events.push_back({Event::Version, b});
        } else if (b >= 0x20) {
            events.push_back({Event::Echo, b});
        }
    }
    return events;
}

void TextFlow::append(const QString& text) {
    for (QChar c : text) {
        const std::optional<char> byte = keyableByte(c);
        m_queue.push_back({c, byte.value_or(0)});
    }
}

int TextFlow::inChip() const {
    return int(std::count_if(m_inChip.begin(), m_inChip.end(), [](const Entry& e) { return e.byte != 0; }));
}

TextFlow::Step TextFlow::pump(bool xoff) {
    Step step;
    int keyed = inChip();
    while (!m_queue.empty()) {
        const Entry head = m_queue.front();
        if (head.byte == 0) {
            if (m_inChip.empty())
                step.sent += head.c;
            else
                m_inChip.push_back(head);
            m_queue.pop_front();
            continue;
        }
        if (xoff || keyed >= m_maxInChip)
            break;
        step.bytes.append(head.byte);
        m_inChip.push_back(head);
        m_queue.pop_front();
        ++keyed;
    }
    return step;
}

QString TextFlow::echo(char byte) {
    const auto match = std::find_if(m_inChip.begin(), m_inChip.end(),
                                    [byte](const Entry& e) { return e.byte != 0 && e.byte == byte; });
    if (match == m_inChip.end())
        return {};
    QString gone;
    auto end = match + 1;
    while (end != m_inChip.end() && end->byte == 0)
        ++end;
    for (auto it = m_inChip.begin(); it != end; ++it)
        gone += it->c;
    m_inChip.erase(m_inChip.begin(), end);
    return gone;
}

QString TextFlow::drain() {
    QString gone;
    for (const Entry& e : m_inChip)
        gone += e.c;
    m_inChip.clear();
    return gone;
}

void TextFlow::clear() {
    m_queue.clear();
    m_inChip.clear();
}

} // namespace Winkeyer
