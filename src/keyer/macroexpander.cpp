#include "keyer/macroexpander.h"

#include "core/qso.h"
#include "keyer/keyerentry.h"
#include "keyer/messagebuffers.h"
#include "keyer/morsetiming.h"

#include <QHash>

namespace {

enum class Token {
    MyCall,
    CwUp,
    CwDown,
    Call,
    Report,
    Long,
    Short,
    Stx,
    Stx1,
    Stx2,
    Srx,
    Loop,
    SaveQso,
    QsoB4,
    Buffer
};

struct TokenRule {
    Token token;
    int buffer = 0;
};

const QHash<QString, TokenRule>& rules() {
    static const QHash<QString, TokenRule> table = [] {
        QHash<QString, TokenRule> t{
            {QStringLiteral("<MYCALL>"), {Token::MyCall}},  {QStringLiteral("<CW_UP>"), {Token::CwUp}},
            {QStringLiteral("<CW_DOWN>"), {Token::CwDown}}, {QStringLiteral("<CALL>"), {Token::Call}},
            {QStringLiteral("<RAPORT>"), {Token::Report}},  {QStringLiteral("<LONG>"), {Token::Long}},
            {QStringLiteral("<SHORT>"), {Token::Short}},    {QStringLiteral("<STX>"), {Token::Stx}},
            {QStringLiteral("<GRUPA>"), {Token::Stx}},      {QStringLiteral("<STX1>"), {Token::Stx1}},
            {QStringLiteral("<STX2>"), {Token::Stx2}},      {QStringLiteral("<SRX>"), {Token::Srx}},
            {QStringLiteral("<LOOP>"), {Token::Loop}},      {QStringLiteral("<SAVEQSO>"), {Token::SaveQso}},
            {QStringLiteral("<QSOB4>"), {Token::QsoB4}},    {QStringLiteral("<INS>"), {Token::Buffer, 11}},
            {QStringLiteral("<+>"), {Token::Buffer, 12}},
        };
        for (int n = 1; n <= 10; ++n)
            t.insert(QStringLiteral("<F%1>").arg(n), {Token::Buffer, n});
        return t;
    }();
    return table;
}

QString dashesToBlanks(QString text) {
    text.replace(u'-', u' ');
    text.replace(u'_', u' ');
    return text;
}

void placePrefillMarker(QString& result) {
    const qsizetype call = result.indexOf(QChar(Macros::kCall));
    if (call >= 0)
        result.insert(call + 1, QChar(Macros::kPrefill));
    else
        result.append(QChar(Macros::kPrefill));
}

} // namespace

MacroExpansion
ExpandMacros(const QString& input, KeyerEntry& entry, const MessageBuffers& buffers, MacroSettings settings) {
    MacroExpansion out;
    QString r;
    QString in = input;
    const QString call = entry.callsign();
    const bool callGiven = !call.isEmpty();
    const bool fields = entry.exchangeFromFields();
    const std::optional<Qso> last = entry.lastQso();
    const bool haveLast = last.has_value();
    auto cutForExchange = [&](const QString& s) {
        return settings.cutNumbers && !settings.fullDigitsOnce ? Morse::cutNumbers(s) : s;
    };

    while (in.contains(u'<')) {
        const qsizetype open = in.indexOf(u'<');
        r += in.left(open);
        in.remove(0, open + 1);
        QString token = QStringLiteral("<");
        const qsizetype close = in.indexOf(u'>');
        if (close >= 0) {
            token += in.left(close + 1);
            in.remove(0, close + 1);
        }
        const auto rule = rules().constFind(token);
        if (rule != rules().constEnd()) {
            switch (rule->token) {
            case Token::MyCall:
                r += entry.contestCallsign();
                break;
            case Token::CwUp:
                r += QChar(Macros::kSpeedUp);
                break;
            case Token::CwDown:
                r += QChar(Macros::kSpeedDown);
                break;
            case Token::Call:
                if (callGiven)
                    r += QChar(Macros::kCall);
                else if (haveLast)
                    r += last->call;
                break;
            case Token::Report:
                r += settings.cutNumbers ? Morse::cutNumbers(entry.rstSent()) : entry.rstSent();
                break;
            case Token::Long:
                settings.cutNumbers = false;
                out.cutNumbers = false;
                break;
            case Token::Short:
                settings.cutNumbers = true;
                out.cutNumbers = true;
                break;
            case Token::Stx: {
                QString s;
                if (fields) {
                    s = cutForExchange(entry.exchangeFirst());
                    s += (settings.extraGap ? QStringLiteral(" ") : QString()) + entry.exchangeSecond();
                    s = dashesToBlanks(s);
                } else if (haveLast) {
                    s = last->stx;
                    if (entry.analysis().mode == AnalysisMode::Locator) {
                        s = cutForExchange(last->stxSerial().trimmed());
                        const QString second = entry.exchangeSecond();
                        if (second.contains(u'-') || second.contains(u'_'))
                            s += u' ';
                        s += last->stxLocator();
                    }
                }
                r += u' ' + s;
                placePrefillMarker(r);
                break;
            }
            case Token::Stx1: {
                QString s;
                if (fields)
                    s = dashesToBlanks(entry.exchangeFirst());
                else if (haveLast)
                    s = last->stxSerial().trimmed();
                r += u' ' + cutForExchange(s.trimmed());
                placePrefillMarker(r);
                break;
            }
            case Token::Stx2: {
                QString s;
                if (fields)
                    s = dashesToBlanks(entry.exchangeSecond());
                else if (haveLast)
                    s = last->stxLocator().trimmed();
                r += u' ' + s;
                placePrefillMarker(r);
                break;
            }
            case Token::Srx: {
                QString s;
                if (fields)
                    s = QString(entry.receivedExchange()).replace(u'-', u' ');
                else if (haveLast)
                    s = last->srx;
                r += cutForExchange(s);
                break;
            }
            case Token::Loop:
                r += QChar(Macros::kLoop);
                out.showLoopLabel = true;
                break;
            case Token::SaveQso:
                r += QChar(Macros::kSaveQso);
                if (!entry.callsignHasFocus())
                    entry.focusNext();
                break;
            case Token::QsoB4:
                if (entry.dupeShown())
                    r.clear();
                else
                    in.clear();
                break;
            case Token::Buffer:
                if (out.bufferReferences < Macros::kMaxBufferReferences) {
                    ++out.bufferReferences;
                    in += u' ' + buffers.at(rule->buffer).text;
                }
                break;
            }
        }
        if (in.size() > Macros::kInputLimit)
            break;
    }
    out.text = r + in;
    return out;
}
