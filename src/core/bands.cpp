#include "core/bands.h"

namespace {

constexpr BandInfo kBands[] = {
    {"160M", '0', 160, false, false}, {"80M", '1', 80, false, false}, {"40M", '2', 40, false, false},
    {"30M", 'A', 30, true, false},    {"20M", '3', 20, false, false}, {"17M", 'B', 17, true, false},
    {"15M", '4', 15, false, false},   {"12M", 'C', 12, true, false},  {"10M", '5', 10, false, false},
    {"6M", '6', 6, false, true},      {"2M", '7', 2, false, true},    {"70CM", '8', 70, false, true},
    {"23CM", '9', 23, false, true},
};

constexpr const char* kVhf[] = {"6M", "2M", "70CM", "23CM"};

} // namespace

namespace Bands {

std::span<const BandInfo> all() {
    return kBands;
}

QStringList selectorList(bool withWarc) {
    QStringList list;
    for (const BandInfo& band : kBands) {
        if (withWarc || !band.warc)
            list.append(QString::fromLatin1(band.name));
    }
    return list;
}

const BandInfo* find(QStringView name) {
    for (const BandInfo& band : kBands) {
        if (name.compare(QLatin1String(band.name), Qt::CaseInsensitive) == 0)
            return &band;
    }
    return nullptr;
}

char dupeCode(QStringView name) {
    const BandInfo* band = find(name);
    return band ? band->dupeCode : '\0';
}

const BandInfo* fromLineField(QStringView field) {
    // Every "C" is dropped ("70CM" reads as 70); what is left must be a whole number between blanks.
    int value = 0;
    int digits = 0;
    bool trailingBlank = false;
    for (const QChar ch : field) {
        if (ch == QLatin1Char('C'))
            continue;
        if (ch == QLatin1Char(' ')) {
            trailingBlank = digits > 0;
            continue;
        }
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9') || trailingBlank || digits >= 6)
            return nullptr;
        value = value * 10 + (ch.unicode() - '0');
        ++digits;
    }
    if (digits == 0)
        return nullptr;
    for (const BandInfo& band : kBands) {
        if (band.numericValue == value)
            return &band;
    }
    return nullptr;
}

bool isVhf(QStringView name) {
    return vhfIndex(name) >= 0;
}

int vhfIndex(QStringView name) {
    for (int i = 0; i < kVhfCount; ++i) {
        if (name.compare(QLatin1String(kVhf[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString vhfName(int index) {
    return index >= 0 && index < kVhfCount ? QString::fromLatin1(kVhf[index]) : QString();
}

} // namespace Bands

Band Band::fromInfo(const BandInfo* info) {
    if (!info)
        return {};
    return Band(quint8(info - kBands));
}

Band Band::fromIndex(int index) {
    return index >= 0 && index < int(std::size(kBands)) ? Band(quint8(index)) : Band();
}

Band Band::fromName(QStringView name) {
    return fromInfo(Bands::find(name));
}

Band Band::fromLineField(QStringView field) {
    return fromInfo(Bands::fromLineField(field));
}

const BandInfo& Band::info() const {
    Q_ASSERT(isValid());
    return kBands[m_index];
}

QString Band::name() const {
    return isValid() ? QString::fromLatin1(info().name) : QString();
}

QLatin1StringView Band::latinName() const {
    return isValid() ? QLatin1StringView(info().name) : QLatin1StringView();
}

int Band::vhfIndex() const {
    if (!isVhf())
        return -1;
    int index = 0;
    for (int i = 0; i < m_index; ++i)
        index += kBands[i].vhf ? 1 : 0;
    return index;
}
