#include "core/qso.h"

#include "core/qsoline.h"
#include "core/textfile.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

QStringView cellText(QStringView line, const QsoCell& cell, int width) {
    const qsizetype start = cell.first - 1;
    if (start >= line.size())
        return {};
    return line.mid(start, std::min<qsizetype>(width, line.size() - start));
}

// A field's value: the part of its cell a value may take, without blanks. The mode keeps both characters.
QString fieldText(QStringView line, QsoField field) {
    const QsoCell& cell = QsoLayout::cell(field);
    const QStringView text = cellText(line, cell, cell.valueWidth);
    return (field == QsoField::Mode ? text : text.trimmed()).toString();
}

QString cellOf(const QString& value, QsoField field) {
    const QsoCell& cell = QsoLayout::cell(field);
    return cell.rightAligned ? QsoLine::rightJustify(value, cell.width) : QsoLine::leftJustify(value, cell.width);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedBytes(QByteArrayView bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

// A few bytes of the line as text, without an allocation.
template <int N> struct ShortText {
    std::array<char16_t, N> chars{};
    qsizetype size = 0;
    explicit ShortText(QByteArrayView bytes) {
        size = std::min<qsizetype>(bytes.size(), N);
        for (qsizetype i = 0; i < size; ++i)
            chars[size_t(i)] = TextFile::decodeByte(bytes[i]);
    }
    QStringView view() const { return QStringView(chars.data(), size); }
};

} // namespace

std::optional<Qso> Qso::fromLine(QStringView line) {
    const Band band = Band::fromLineField(cellText(line, QsoLayout::cell(QsoField::Band), 3));
    if (!band.isValid())
        return std::nullopt;
    Qso qso;
    qso.date = fieldText(line, QsoField::Date);
    qso.time = fieldText(line, QsoField::Time);
    qso.band = band;
    qso.mode = Mode::fromCode(fieldText(line, QsoField::Mode));
    qso.rstSent = fieldText(line, QsoField::RstSent);
    qso.stx = fieldText(line, QsoField::Stx);
    qso.call = fieldText(line, QsoField::Call);
    qso.rstRcvd = fieldText(line, QsoField::RstRcvd);
    qso.srx = fieldText(line, QsoField::Srx);
    if (line.size() > QsoLayout::kBodyLength)
        qso.suffix = line.mid(QsoLayout::kBodyLength).trimmed().toString();
    qso.dupe = qso.suffix == QLatin1String("DUPE");
    return qso;
}

namespace {

// A value in its cell, as rightJustify/leftJustify give it, appended without a string of its own.
template <typename View> void appendInCell(QString& out, View value, const QsoCell& cell) {
    const qsizetype pad = cell.width - value.size();
    if (pad <= 0) {
        out += cell.rightAligned ? value.right(cell.width) : value.left(cell.width);
        return;
    }
    if (cell.rightAligned) {
        out.resize(out.size() + pad, QLatin1Char(' '));
        out += value;
    } else {
        out += value;
        out.resize(out.size() + pad, QLatin1Char(' '));
    }
}

void upperAsciiInPlace(QString& text) {
    for (QChar& ch : text) {
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            ch = QChar(ch.unicode() - 32);
    }
}

} // namespace

void Qso::appendCell(QString& out, const QsoCell& cell) const {
    switch (cell.field) {
    case QsoField::Date:
        appendInCell(out, QStringView(date), cell);
        break;
    case QsoField::Time:
        appendInCell(out, QStringView(time), cell);
        break;
    case QsoField::Band:
        appendInCell(out, band.latinName(), cell);
        break;
    case QsoField::Mode:
        if (mode.isKnown())
            appendInCell(out, QLatin1StringView(mode.info()->code), cell);
        else
            appendInCell(out, QStringView(mode.code()), cell);
        break;
    case QsoField::RstSent:
        appendInCell(out, QStringView(rstSent), cell);
        break;
    case QsoField::Stx:
        appendInCell(out, QStringView(stx), cell);
        break;
    case QsoField::Call:
        appendInCell(out, QStringView(call), cell);
        break;
    case QsoField::RstRcvd:
        appendInCell(out, QStringView(rstRcvd), cell);
        break;
    case QsoField::Srx:
        appendInCell(out, QStringView(srx), cell);
        break;
    case QsoField::Blank:
        out.resize(out.size() + cell.width, QLatin1Char(' '));
        break;
    }
}

QString Qso::body() const {
    QString out;
    out.reserve(QsoLayout::kBodyLength);
    for (const QsoCell& cell : QsoLayout::kCells)
        appendCell(out, cell);
    upperAsciiInPlace(out);
    return out;
}

QString Qso::cells(QsoField first, QsoField last) const {
    const QsoCell& from = QsoLayout::cell(first);
    const QsoCell& to = QsoLayout::cell(last);
    QString out;
    out.reserve(to.first + to.width - from.first);
    for (const QsoCell& cell : QsoLayout::kCells) {
        if (cell.first >= from.first && cell.first <= to.first)
            appendCell(out, cell);
    }
    upperAsciiInPlace(out);
    return out;
}

QString Qso::line() const {
    if (dupe)
        return body() + QStringLiteral("DUPE");
    return body() + suffix;
}

QString Qso::stxSerial() const {
    return cellOf(stx, QsoField::Stx).left(QsoLayout::kSerialWidth);
}

QString Qso::stxLocator() const {
    return cellOf(stx, QsoField::Stx).mid(QsoLayout::kSerialWidth);
}

QString Qso::srxSerial() const {
    return cellOf(srx, QsoField::Srx).left(QsoLayout::kSerialWidth);
}

QString Qso::srxLocator() const {
    return cellOf(srx, QsoField::Srx).mid(QsoLayout::kSerialWidth);
}

QString Qso::srxSquare() const {
    return srxLocator().left(4);
}

QString Qso::dateAndMinute() const {
    return QsoLine::leftJustify(date, 10) + QLatin1Char(' ') + QsoLine::leftJustify(time, 6).left(4);
}

std::optional<int> Qso::distanceKm() const {
    if (dupe)
        return std::nullopt;
    bool ok = false;
    const int km = suffix.toInt(&ok);
    return ok ? std::optional<int>(km) : std::nullopt;
}

DupeKey::DupeKey(Band band, Mode mode, bool oneQsoPerBand, QStringView call)
    : DupeKey(band.dupeCode(), mode.dupeCode(), oneQsoPerBand, TextFile::encode(call.left(kCallLength))) {}

namespace {
// The characters the band and mode codes are made of, each to four bits: no band, the digits, the letters of the
// WARC bands, the code of a mode the table does not know and the mark of one contact a band.
quint8 nibbleOf(char code) {
    switch (code) {
    case '\0':
        return 0;
    case '?':
        return 14;
    case 'x':
        return 15;
    default:
        break;
    }
    if (code >= '0' && code <= '9')
        return quint8(1 + code - '0');
    if (code >= 'A' && code <= 'C')
        return quint8(11 + code - 'A');
    return 14;
}
} // namespace

DupeKey::DupeKey(char bandCode, char modeCode, bool oneQsoPerBand, QByteArrayView call) {
    std::array<char, sizeof m_words> bytes{};
    bytes[0] = char(nibbleOf(bandCode) << 4 | nibbleOf(oneQsoPerBand ? 'x' : modeCode));
    std::copy_n(call.data(), std::min<qsizetype>(call.size(), kCallLength), bytes.begin() + 1);
    std::memcpy(m_words.data(), bytes.data(), sizeof m_words);
}

size_t DupeKeySet::slotOf(const DupeKey& key) const {
    const size_t mask = m_slots.size() - 1;
    size_t slot = qHash(key) & mask;
    while (!(m_slots[slot] == key) && !m_slots[slot].isZero())
        slot = (slot + 1) & mask;
    return slot;
}

bool DupeKeySet::contains(const DupeKey& key) const {
    if (key.isZero())
        return m_hasZero;
    return !m_slots.empty() && !m_slots[slotOf(key)].isZero();
}

bool DupeKeySet::insert(const DupeKey& key) {
    if (key.isZero()) {
        const bool inserted = !m_hasZero;
        m_hasZero = true;
        m_size += inserted ? 1 : 0;
        return inserted;
    }
    // At most three slots in four are taken, so a probe ends soon.
    if (size_t(m_size + 1) * 4 > m_slots.size() * 3)
        grow(std::max<size_t>(16, m_slots.size() * 2));
    DupeKey& slot = m_slots[slotOf(key)];
    if (!slot.isZero())
        return false;
    slot = key;
    ++m_size;
    return true;
}

void DupeKeySet::reserve(qsizetype keys) {
    size_t wanted = 16;
    while (wanted * 3 < size_t(keys) * 4)
        wanted *= 2;
    if (wanted > m_slots.size())
        grow(wanted);
}

void DupeKeySet::grow(size_t count) {
    std::vector<DupeKey> old = std::exchange(m_slots, std::vector<DupeKey>(count));
    for (const DupeKey& key : old) {
        if (!key.isZero())
            m_slots[slotOf(key)] = key;
    }
}

void DupeKeySet::clear() {
    m_slots.clear();
    m_size = 0;
    m_hasZero = false;
}

std::optional<QsoRecord> QsoRecord::fromBytes(QByteArrayView line) {
    const QsoCell& bandCell = QsoLayout::cell(QsoField::Band);
    // The loader reads the band from the first three columns of its cell ("70C" of "70CM" is 70).
    const qsizetype bandStart = bandCell.first - 1;
    const QByteArrayView bandBytes = bandStart < line.size()
                                         ? line.sliced(bandStart, std::min<qsizetype>(3, line.size() - bandStart))
                                         : QByteArrayView();
    const Band band = Band::fromLineField(ShortText<3>(bandBytes).view());
    if (!band.isValid())
        return std::nullopt;
    QsoRecord record;
    const qsizetype length = std::min<qsizetype>(line.size(), QsoLayout::kBodyLength);
    std::memcpy(record.m_body.data(), line.data(), size_t(length));
    std::fill(record.m_body.begin() + length, record.m_body.end(), ' ');
    record.m_band = band;
    const QsoCell& modeCell = QsoLayout::cell(QsoField::Mode);
    record.m_mode = Mode::fromCode(ShortText<2>(QByteArrayView(record.m_body.data() + modeCell.first - 1, 2)).view());
    return record;
}

std::optional<QsoRecord> QsoRecord::fromLine(QStringView line) {
    return fromBytes(TextFile::encode(line.left(QsoLayout::kBodyLength)));
}

void QsoRecord::setSuffix(QStringView suffix, bool dupe) {
    m_dupe = dupe;
    const QStringView text = dupe ? QStringView(u"DUPE") : suffix;
    m_suffixLength = quint8(std::min<qsizetype>(text.size(), QsoLayout::kMaxSuffixLength));
    for (int i = 0; i < m_suffixLength; ++i) {
        const char16_t c = text[i].unicode();
        m_suffix[size_t(i)] = c < 0x80 ? char(c) : TextFile::encode(text.mid(i, 1)).at(0);
    }
}

QByteArrayView QsoRecord::field(QsoField field) const {
    const QsoCell& cell = QsoLayout::cell(field);
    const QByteArrayView text(m_body.data() + cell.first - 1, cell.valueWidth);
    return field == QsoField::Mode ? text : trimmedBytes(text);
}

QString QsoRecord::body() const {
    return TextFile::decode(QByteArrayView(m_body.data(), m_body.size()));
}

void QsoRecord::appendTo(QByteArray& bytes) const {
    bytes.append(m_body.data(), m_body.size());
    bytes.append(m_suffix.data(), m_suffixLength);
}

QString QsoRecord::line() const {
    QByteArray bytes;
    appendTo(bytes);
    return TextFile::decode(bytes);
}

Qso QsoRecord::qso() const {
    // Read cell by cell from the bytes, as Qso::fromLine reads the line they stand for, without composing it.
    const auto text = [this](QsoField field) {
        const QsoCell& cell = QsoLayout::cell(field);
        return TextFile::decode(QByteArrayView(m_body.data() + cell.first - 1, cell.valueWidth)).trimmed();
    };
    Qso qso;
    qso.date = text(QsoField::Date);
    qso.time = text(QsoField::Time);
    qso.band = m_band;
    qso.mode = m_mode;
    qso.rstSent = text(QsoField::RstSent);
    qso.stx = text(QsoField::Stx);
    qso.call = text(QsoField::Call);
    qso.rstRcvd = text(QsoField::RstRcvd);
    qso.srx = text(QsoField::Srx);
    qso.suffix = TextFile::decode(suffixBytes()).trimmed();
    qso.dupe = m_dupe;
    return qso;
}

int QsoRecord::compare(const QsoRecord& a, const QsoRecord& b) {
    // Ordered as the text the bytes stand for, so the order is that of the lines as read.
    const auto ordered = [](char ca, char cb) { return TextFile::decodeByte(ca) < TextFile::decodeByte(cb) ? -1 : 1; };
    const auto [atA, atB] = std::mismatch(a.m_body.begin(), a.m_body.end(), b.m_body.begin());
    if (atA != a.m_body.end())
        return ordered(*atA, *atB);
    const int common = std::min(a.m_suffixLength, b.m_suffixLength);
    for (int i = 0; i < common; ++i) {
        if (a.m_suffix[size_t(i)] != b.m_suffix[size_t(i)])
            return ordered(a.m_suffix[size_t(i)], b.m_suffix[size_t(i)]);
    }
    return a.m_suffixLength < b.m_suffixLength ? -1 : (a.m_suffixLength > b.m_suffixLength ? 1 : 0);
}
