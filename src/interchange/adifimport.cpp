#include "interchange/adifimport.h"

#include "core/bands.h"
#include "core/qso.h"
#include "core/qsoline.h"

#include <QFile>
#include <QHash>

namespace {

const QString kWanted[] = {QStringLiteral("QSO_DATE"), QStringLiteral("TIME_ON"),  QStringLiteral("BAND"),
                           QStringLiteral("MODE"),     QStringLiteral("RST_SENT"), QStringLiteral("STX"),
                           QStringLiteral("CALL"),     QStringLiteral("RST_RCVD"), QStringLiteral("SRX")};

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
    const QString band = f[Band].trimmed().toUpper();
    if (band.isEmpty())
        reasons.append(QStringLiteral("brak pasma (BAND)"));
    else if (!::Band::fromName(band).isValid())
        reasons.append(QStringLiteral("pasmo %1 nie jest obsługiwane przez program (BAND)").arg(quoted(band)));
    const QString mode = f[Mode].trimmed().toUpper();
    if (mode.isEmpty())
        reasons.append(QStringLiteral("brak emisji (MODE)"));
    else if (!modeOf(mode).isKnown())
        reasons.append(QStringLiteral("emisja %1 nie jest obsługiwana przez program (MODE)").arg(quoted(mode)));
    if (f[Call].trimmed().isEmpty())
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
    const QString name = adifMode.trimmed().toString().toUpper();
    // Sideband names that several loggers write in MODE instead of SSB with a SUBMODE.
    if (name == QLatin1String("USB") || name == QLatin1String("LSB"))
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
    Qso qso;
    qso.band = ::Band::fromName(f[Band].trimmed().toUpper());
    if (!qso.band.isValid())
        return {};
    // A date of another length keeps its eight places, so the band stays in the columns the loader reads.
    const QString d = f[QsoDate].trimmed().leftJustified(8, QLatin1Char(' '), true);
    qso.date = d.mid(0, 4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2);
    QString time = f[TimeOn].trimmed();
    if (time.size() == 4)
        time += QStringLiteral("00");
    qso.time = time.left(6).leftJustified(6, QLatin1Char('0'));
    qso.mode = modeOf(f[Mode]);
    qso.rstSent = f[RstSent].trimmed().left(QsoLayout::valueWidth(QsoField::RstSent));
    qso.stx = f[Stx].trimmed();
    qso.call = f[Call].trimmed().left(QsoLayout::valueWidth(QsoField::Call));
    qso.rstRcvd = f[RstRcvd].trimmed().left(QsoLayout::valueWidth(QsoField::RstRcvd));
    qso.srx = f[Srx].trimmed();
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
        bool fits = false;
        const qlonglong length = lengthText.size() <= 18 ? lengthText.toLongLong(&fits) : -1;
        if (!fits || length > n - pos)
            return refuse(pastEndMessage(result.records + 1, name.toString()));
        inRecord = true;
        // Only the fields a QSO line holds are kept; every other field is skipped by its length.
        for (int i = 0; i < FieldCount; ++i) {
            if (name.compare(kWanted[i], Qt::CaseInsensitive) == 0) {
                const QStringView data = text.mid(pos, qsizetype(length));
                fields[size_t(i)] = QsoLine::withoutControls(data);
                cleaned[size_t(i)] = controlsInside(data);
                break;
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
