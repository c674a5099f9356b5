#include "interchange/adifimport.h"

#include "core/bands.h"
#include "core/qso.h"
#include "core/qsoline.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace {

const QString kWanted[] = {QStringLiteral("QSO_DATE"), QStringLiteral("TIME_ON"),  QStringLiteral("BAND"),
                           QStringLiteral("MODE"),     QStringLiteral("RST_SENT"), QStringLiteral("STX"),
                           QStringLiteral("CALL"),     QStringLiteral("RST_RCVD"), QStringLiteral("SRX")};

// A record holds many fields the log has no place for; the name's length rules out most of them at once.
int wantedField(QStringView name) {
    for (int i = 0; i < AdifImport::FieldCount; ++i) {
        if (name.size() == kWanted[i].size() && name.compare(kWanted[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// The characters QChar::Other_Control stands for (C0, DEL and C1), without a look-up per character.
bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool hasControls(QStringView data) {
    return std::any_of(data.begin(), data.end(), isControl);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A value quoted in a note: a field may be thousands of characters long.
QString quoted(const QString& value) {
    constexpr qsizetype kShown = 16;
    QString shown = QsoLine::visibleControls(QStringView(value).left(kShown));
    if (value.size() > kShown)
        shown += QStringLiteral("…");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

} // namespace

QString AdifImport::fieldName(Field field) {
    return kWanted[field];
}

QString AdifImport::cleanedFieldNote(int record, Field field) {
    return QStringLiteral("Rekord %1: pole %2 zawierało znaki sterujące – poprawiono")
        .arg(record)
        .arg(fieldName(field));
}

QString AdifImport::skippedRecordNote(int record, const QStringList& reasons) {
    return QStringLiteral("Rekord %1 pominięty: %2").arg(record).arg(reasons.join(QStringLiteral(", ")));
}

bool AdifImport::controlsInside(QStringView data) {
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const QChar c = data[i];
        if (!c.isSpace() && c.category() != QChar::Other_Control) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    for (qsizetype i = first + 1; first >= 0 && i < last; ++i) {
        if (data[i].category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QStringList AdifImport::missingFields(const Fields& f) {
    QStringList reasons;
    const QStringView band = QStringView(f[Band]).trimmed();
    if (band.isEmpty())
        reasons.append(QStringLiteral("brak pasma (BAND)"));
    else if (!::Band::fromName(band).isValid())
        reasons.append(QStringLiteral("pasmo %1 nie jest obsługiwane przez program (BAND)")
                           .arg(quoted(band.toString().toUpper())));
    const QStringView mode = QStringView(f[Mode]).trimmed();
    if (mode.isEmpty())
        reasons.append(QStringLiteral("brak emisji (MODE)"));
    else if (!modeOf(mode).isKnown())
        reasons.append(QStringLiteral("emisja %1 nie jest obsługiwana przez program (MODE)")
                           .arg(quoted(mode.toString().toUpper())));
    if (QStringView(f[Call]).trimmed().isEmpty())
        reasons.append(QStringLiteral("brak znaku korespondenta (CALL)"));
    return reasons;
}

QString AdifImport::badLengthMessage(int record, const QString& field, const QString& length) {
    return QStringLiteral("Plik ADIF jest uszkodzony: pole <%1> w rekordzie nr %2 ma niewłaściwą długość \"%3\".")
        .arg(QsoLine::visibleControls(field), QString::number(record), QsoLine::visibleControls(length));
}

QString AdifImport::pastEndMessage(int record, const QString& field) {
    return QStringLiteral("Plik ADIF jest uszkodzony: dane pola <%1> w rekordzie nr %2 wykraczają poza koniec pliku.")
        .arg(QsoLine::visibleControls(field), QString::number(record));
}

QString AdifImport::truncatedRecordMessage(int record) {
    return QStringLiteral("Plik ADIF jest niekompletny: kończy się wewnątrz rekordu nr %1 (brak znacznika <EOR>).")
        .arg(record);
}

::Mode AdifImport::modeOf(QStringView adifMode) {
    const QStringView name = adifMode.trimmed();
    // Sideband names that several loggers write in MODE instead of SSB with a SUBMODE.
    if (name.compare(QLatin1String("USB"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("LSB"), Qt::CaseInsensitive) == 0)
        return ::Mode::phone();
    // The program's mode names ("SSB", "RTTY" …) are ADIF's; its two-letter codes are taken too.
    const ::Mode byName = ::Mode::fromName(name);
    if (byName.isKnown())
        return byName;
    if (name.size() == 2) {
        const ::Mode byCode = ::Mode::fromCode(name);
        if (byCode.isKnown())
            return byCode;
    }
    return {};
}

QString AdifImport::qsoLine(const Fields& f) {
    // The contact only lives until its line is composed, so its fields borrow the record's text (and the two
    // buffers below) instead of copying it: a large import builds one string per record, its line.
    const auto borrowed = [](QStringView view) { return QString::fromRawData(view.data(), view.size()); };
    const auto field = [&](Field which, int width) {
        const QStringView value = QStringView(f[which]).trimmed();
        return borrowed(width > 0 ? value.left(width) : value);
    };
    Qso qso;
    qso.band = ::Band::fromName(QStringView(f[Band]).trimmed());
    if (!qso.band.isValid())
        return {};
    // A date of another length keeps its eight places, so the band stays in the columns the loader reads.
    const QStringView d = QStringView(f[QsoDate]).trimmed().left(8);
    std::array<QChar, 10> date;
    date.fill(QLatin1Char(' '));
    for (qsizetype i = 0; i < d.size(); ++i)
        date[size_t(i < 4 ? i : i < 6 ? i + 1 : i + 2)] = d[i];
    date[4] = QLatin1Char('-');
    date[7] = QLatin1Char('-');
    qso.date = borrowed(QStringView(date.data(), qsizetype(date.size())));
    // HHMM gets its seconds; a shorter time is filled with zeros.
    const QStringView t = QStringView(f[TimeOn]).trimmed().left(6);
    std::array<QChar, 6> time;
    time.fill(QLatin1Char('0'));
    std::copy(t.begin(), t.end(), time.begin());
    qso.time = borrowed(QStringView(time.data(), qsizetype(time.size())));
    qso.mode = modeOf(f[Mode]);
    qso.rstSent = field(RstSent, QsoLayout::valueWidth(QsoField::RstSent));
    qso.stx = field(Stx, 0);
    qso.call = field(Call, QsoLayout::valueWidth(QsoField::Call));
    qso.rstRcvd = field(RstRcvd, QsoLayout::valueWidth(QsoField::RstRcvd));
    qso.srx = field(Srx, 0);
    return qso.body();
}

AdifImport::Result AdifImport::parse(QStringView text) {
    Result result;
    // A file that starts with anything but "<" has a header up to <EOH>; one that starts with a tag has none,
    // so an "<EOH>" inside a later field cannot swallow its records.
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    if (pos < text.size() && text[pos] != QLatin1Char('<')) {
        const qsizetype eoh = text.indexOf(QLatin1String("<EOH>"), pos, Qt::CaseInsensitive);
        if (eoh >= 0)
            pos = eoh + 5;
    }
    Fields fields;
    std::array<bool, FieldCount> cleaned{};
    // A field seen since the last <EOR>: the file is inside a record.
    bool inRecord = false;
    const qsizetype n = text.size();
    auto refuse = [&result](const QString& message) {
        result.lines.clear();
        result.notes.clear();
        result.status = TextFile::Status::failure(message + QStringLiteral("\n\nImport danych został przerwany."));
        return result;
    };
    while (pos < n) {
        const qsizetype open = text.indexOf(QLatin1Char('<'), pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QLatin1Char('>'), open + 1);
        if (close < 0) {
            if (inRecord || text.mid(open).contains(QLatin1Char(':')))
                return refuse(truncatedRecordMessage(result.records + 1));
            break;
        }
        const QStringView tag = text.mid(open + 1, close - open - 1);
        pos = close + 1;
        const qsizetype colon = tag.indexOf(QLatin1Char(':'));
        const QStringView name = (colon < 0 ? tag : tag.left(colon)).trimmed();
        if (colon < 0) {
            if (name.compare(QLatin1String("EOR"), Qt::CaseInsensitive) == 0) {
                ++result.records;
                if (const QStringList reasons = missingFields(fields); !reasons.isEmpty()) {
                    ++result.skipped;
                    result.notes.append(skippedRecordNote(result.records, reasons));
                } else {
                    result.lines.append(qsoLine(fields));
                    for (int i = 0; i < FieldCount; ++i) {
                        if (cleaned[size_t(i)])
                            result.notes.append(cleanedFieldNote(result.records, Field(i)));
                    }
                }
                fields = Fields();
                cleaned = {};
                inRecord = false;
            } else if (name.compare(QLatin1String("EOH"), Qt::CaseInsensitive) == 0) {
                // The fields of a header that starts with a tag belong to no record.
                fields = Fields();
                cleaned = {};
                inRecord = false;
            }
            continue;
        }
        // <NAME:LENGTH> or <NAME:LENGTH:TYPE>: the length is a plain decimal number up to the next ":" or ">".
        QStringView lengthText = tag.mid(colon + 1);
        const qsizetype typeColon = lengthText.indexOf(QLatin1Char(':'));
        if (typeColon >= 0)
            lengthText = lengthText.left(typeColon);
        lengthText = lengthText.trimmed();
        bool digits = !lengthText.isEmpty();
        for (const QChar c : lengthText)
            digits = digits && isDigit(c);
        // Past a length that cannot be read, nothing tells where the field ends and the next tag starts.
        if (!digits)
            return refuse(badLengthMessage(result.records + 1, name.toString(), lengthText.toString()));
        // Eighteen digits always fit in 64 bits.
        const bool fits = lengthText.size() <= 18;
        qlonglong length = 0;
        for (qsizetype i = 0; fits && i < lengthText.size(); ++i)
            length = length * 10 + (lengthText[i].unicode() - u'0');
        if (!fits || length > n - pos)
            return refuse(pastEndMessage(result.records + 1, name.toString()));
        inRecord = true;
        // Only the fields a QSO line holds are kept; every other field is skipped by its length.
        if (const int i = wantedField(name); i >= 0) {
            const QStringView data = text.mid(pos, qsizetype(length));
            // Clean data is read where it stands in the text; only data with control characters is copied.
            if (hasControls(data)) {
                fields[size_t(i)] = QsoLine::withoutControls(data);
                cleaned[size_t(i)] = controlsInside(data);
            } else {
                fields[size_t(i)] = QString::fromRawData(data.data(), data.size());
                cleaned[size_t(i)] = false;
            }
        }
        pos += qsizetype(length);
    }
    if (inRecord)
        return refuse(truncatedRecordMessage(result.records + 1));
    return result;
}

AdifImport::Result AdifImport::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.status = TextFile::Status::failure(TextFile::openFailure(path, file.errorString()));
        return result;
    }
    const QString text = TextFile::decode(file.readAll());
    return parse(text);
}
