#pragma once

#include "keyer/textkeyer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// cwdaemon's UDP requests and replies. A request that sets something is <ESC>, a letter or digit and the value in
// decimal; anything else is text to key. cwdaemon ignores a value outside its range, so every value is brought
// into range here.
namespace Cwdaemon {

inline constexpr int kDefaultPort = 6789;
inline constexpr int kMinSpeed = 4;
inline constexpr int kMaxSpeed = 60;
inline constexpr int kMaxWeighting = 50; // and -50
inline constexpr int kMaxToneHz = 4000;
inline constexpr int kMaxPttDelayMs = 50;
inline constexpr int kMaxTuneSeconds = 10;
// cwdaemon reads a request into a buffer of 256 bytes; longer text goes in several datagrams.
inline constexpr int kMaxTextBytes = 200;

struct Address {
    QString host;
    int port = kDefaultPort;
    bool ok = false;
    QString text() const { return QStringLiteral("%1:%2").arg(host).arg(port); }
};
// "host", "host:port", "[v6 address]:port"; blank is localhost on the default port.
Address parseAddress(const QString& address);

QByteArray reset();
QByteArray abort();
QByteArray speed(int wpm);
QByteArray weighting(int percent);
// 0 silences the daemon's sidetone.
QByteArray tone(int hz);
QByteArray ptt(bool on);
QByteArray pttDelay(int ms);
QByteArray tune(int seconds);
// cwdaemon answers "h" + token once the text of the next datagram has been keyed.
QByteArray replyRequest(const QByteArray& token);

// The settings as cwdaemon's values.
int weightingFor(int dashRatio, int gapRatio);
int toneFor(const TextKeyerSettings& settings);
int pttDelayFor(const TextKeyerSettings& settings);
// The requests that apply the settings, in the order they are sent.
QList<QByteArray> settingsRequests(const TextKeyerSettings& settings);

// Whether cwdaemon keys the character as we do. '+', '-' and '~' are its speed and spacing controls and are never
// sent as text; characters without a Morse code in our table are left out too.
bool keys(QChar c);
// The character as it goes into the datagram (the backslash keys as "/").
char textByte(QChar c);

// The length of a character in dot units: its marks with the gaps between them, and the gap that follows it.
struct CharacterUnits {
    int marks = 0; // to the end of its last mark
    int after = 0; // silence after that
};
CharacterUnits unitsOf(QChar c);

// The token of a reply ("h" + token, cwdaemon adds CR LF); nothing when the datagram is not a reply.
std::optional<QByteArray> replyToken(const QByteArray& datagram);

} // namespace Cwdaemon
