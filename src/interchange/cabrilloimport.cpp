#include "interchange/cabrilloimport.h"

#include "core/qso.h"
#include "core/qsoline.h"

#include <QFile>

namespace {

struct Edge {
    qint64 low;
    qint64 high;
    Band band;
};

// Band edges in kHz of every band of the band table (IARU region 1 allocations, widened to cover regions 2 and 3).
const Edge kEdges[] = {
    {1800, 2000, Band::fromName(u"160M")},       {3500, 4000, Band::fromName(u"80M")},
    {7000, 7300, Band::fromName(u"40M")},        {10100, 10150, Band::fromName(u"30M")},
    {14000, 14350, Band::fromName(u"20M")},      {18068, 18168, Band::fromName(u"17M")},
    {21000, 21450, Band::fromName(u"15M")},      {24890, 24990, Band::fromName(u"12M")},
    {28000, 29700, Band::fromName(u"10M")},      {50000, 54000, Band::fromName(u"6M")},
    {144000, 148000, Band::fromName(u"2M")},     {420000, 450000, Band::fromName(u"70CM")},
    {1240000, 1300000, Band::fromName(u"23CM")},
};

bool hasLetter(QStringView token) {
    for (const QChar c : token) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            return true;
    }
    return false;
}

// A token quoted in a note, cut short: a line may hold anything.
QString quoted(QStringView token) {
    constexpr qsizetype kShown = 16;
    QString shown = QsoLine::visibleControls(token.left(kShown));
    if (token.size() > kShown)
        shown += QStringLiteral("…");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

} // namespace

Band CabrilloImport::bandOf(QStringView f) {
    if (f == QLatin1String("50"))
        return Band::fromName(u"6M");
    if (f == QLatin1String("144"))
        return Band::fromName(u"2M");
    if (f == QLatin1String("432"))
        return Band::fromName(u"70CM");
    // "1200" is what the program's own export writes for 23 cm.
    if ((f.size() == 4 && f.startsWith(QLatin1String("1."))) || f == QLatin1String("1200"))
        return Band::fromName(u"23CM");
    bool ok = false;
    const qint64 khz = f.toLongLong(&ok);
    if (!ok)
        return {};
    for (const Edge& e : kEdges) {
        if (khz >= e.low && khz <= e.high)
            return e.band;
    }
    return {};
}

CabrilloImport::CabrilloImport(std::span<const QsoRecord> existing) {
    m_taken.reserve(qsizetype(existing.size()));
    for (const QsoRecord& record : existing)
        m_taken.insert(TextFile::decode(record.dateAndTime()));
}

QString CabrilloImport::skippedLineNote(int lineNumber, const QString& reason) {
    return QStringLiteral("Linia %1 pominięta: %2").arg(lineNumber).arg(reason);
}

QString CabrilloImport::lineFor(QStringView upper, QString& reason) {
    // Tokens are views into the line: any run of blanks separates them, as other loggers align their columns.
    const QList<QStringView> t = upper.mid(4).split(u' ', Qt::SkipEmptyParts);
    auto token = [&t](int i) { return i < t.size() ? t.at(i) : QStringView(); };
    const Band band = bandOf(token(0));
    if (!band.isValid()) {
        reason = token(0).isEmpty()
                     ? QStringLiteral("brak częstotliwości")
                     : QStringLiteral("częstotliwość %1 nie leży w żadnym paśmie programu").arg(quoted(token(0)));
        return {};
    }
    constexpr int kCall = 7;
    if (t.size() <= kCall) {
        reason = QStringLiteral("linia kończy się przed znakiem korespondenta");
        return {};
    }
    if (!hasLetter(token(kCall))) {
        // "003 004 DL3AAA": a received exchange of two words before the callsign shifts every token after it.
        reason =
            QStringLiteral("w miejscu znaku korespondenta jest %1 (wymiana z kilku słów?)").arg(quoted(token(kCall)));
        return {};
    }
    QString stamp;
    stamp.reserve(17);
    // Date and time keep their 15 places whatever the file holds, so the band stays in the columns the
    // loader reads.
    stamp += QsoLine::leftJustify(token(2), 10);
    stamp += QLatin1Char(' ');
    stamp += QsoLine::leftJustify(token(3), 4);
    stamp += QLatin1String("00");
    const qsizetype tens = stamp.size() - 2;
    for (int seconds = 0; seconds <= 59; ++seconds) {
        stamp[tens] = QChar(u'0' + seconds / 10);
        stamp[tens + 1] = QChar(u'0' + seconds % 10);
        if (!m_taken.contains(stamp))
            break;
    }
    m_taken.insert(stamp);

    Qso qso;
    qso.date = stamp.left(10);
    qso.time = stamp.mid(11);
    qso.band = band;
    qso.mode = Mode::fromCode(token(1).left(QsoLayout::valueWidth(QsoField::Mode)));
    // The sent report keeps what its cell takes, the blank after it included.
    qso.rstSent = token(5).toString();
    qso.stx = token(6).toString();
    qso.call = token(kCall).left(QsoLayout::valueWidth(QsoField::Call)).toString();
    qso.rstRcvd = token(8).left(QsoLayout::valueWidth(QsoField::RstRcvd)).toString();
    qso.srx = token(9).toString();
    return qso.body();
}

CabrilloImport::Result CabrilloImport::parse(QStringView text) {
    Result result;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        ++lineNumber;
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        // Tabs and other control characters separate tokens like blanks and never reach the log.
        const QString upper = QsoLine::upperAscii(QsoLine::withoutControls(text.mid(start, end - start)));
        if (upper.startsWith(QLatin1String("QSO:"))) {
            ++result.qsoLines;
            QString reason;
            QString line = lineFor(upper, reason);
            if (line.isEmpty()) {
                ++result.skipped;
                result.notes.append(skippedLineNote(lineNumber, reason));
            } else {
                result.lines.append(std::move(line));
            }
        }
        if (end >= text.size())
            break;
        // CR LF ends one line, so the numbers in the notes are those an editor shows.
        start = end + 1;
        if (text[end] == QLatin1Char('\r') && start < text.size() && text[start] == QLatin1Char('\n'))
            ++start;
    }
    return result;
}

CabrilloImport::Result CabrilloImport::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.status = TextFile::Status::failure(TextFile::openFailure(path, file.errorString()));
        return result;
    }
    return parse(TextFile::decode(file.readAll()));
}
