#include "core/qsoline.h"

#include "core/qso.h"

QString QsoLine::rightJustify(QStringView value, int width) {
    if (value.size() >= width)
        return value.right(width).toString();
    return QString(width - value.size(), QLatin1Char(' ')) + value.toString();
}

QString QsoLine::leftJustify(QStringView value, int width) {
    QString out = value.left(width).toString();
    if (out.size() < width)
        out += QString(width - out.size(), QLatin1Char(' '));
    return out;
}

QString QsoLine::upperAscii(QStringView text) {
    QString out = text.toString();
    for (QChar& ch : out) {
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            ch = QChar(ch.unicode() - 32);
    }
    return out;
}

QString QsoLine::body(QStringView line) {
    return leftJustify(line, QsoLayout::kBodyLength);
}

QString QsoLine::body(QString&& line) {
    if (line.size() > QsoLayout::kBodyLength)
        line.truncate(QsoLayout::kBodyLength);
    else if (line.size() < QsoLayout::kBodyLength)
        line.append(QString(QsoLayout::kBodyLength - line.size(), QLatin1Char(' ')));
    return std::move(line);
}

QString QsoLine::joinSentExchange(QStringView first, QStringView fixed) {
    QString joined = first.trimmed().toString() + fixed.toString();
    joined.remove(QLatin1Char('_'));
    joined.replace(QLatin1Char('-'), QLatin1Char(' '));
    return joined;
}

QString QsoLine::normaliseReceivedExchange(QStringView typed) {
    QString out = typed.toString();
    out.remove(QLatin1Char(' '));
    out.replace(QLatin1Char('-'), QLatin1Char(' '));
    return out;
}

QString QsoLine::compose(const QsoFields& f) {
    Qso qso;
    qso.date = f.date;
    qso.time = f.time.mid(0, 2) + f.time.mid(3, 2) + f.time.mid(6, 2);
    qso.band = f.band;
    qso.mode = f.mode;
    qso.rstSent = f.rstSent;
    qso.stx = joinSentExchange(f.stxFirst, f.stxFixed);
    qso.call = f.call;
    qso.rstRcvd = f.rstRcvd;
    qso.srx = normaliseReceivedExchange(f.srx);
    return qso.body();
}

QString QsoLine::withoutControls(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return out;
}

QString QsoLine::visibleControls(QStringView line) {
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20) {
            out += QLatin1Char('^');
            out += QChar(char16_t(u + 0x40));
        } else if (u == 0x7F) {
            out += QStringLiteral("^?");
        } else {
            out += c;
        }
    }
    return out;
}

bool QsoLine::isDupe(QStringView line) {
    return line.size() > QsoLayout::kBodyLength && line.mid(QsoLayout::kBodyLength).trimmed() == u"DUPE";
}
