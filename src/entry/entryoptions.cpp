#include "entry/entryoptions.h"

#include "core/bands.h"
#include "core/modes.h"
#include "settings/inifile.h"

namespace {

const QString kProgram = QStringLiteral("Program");

// "Pasmo" and "Emisja" hold the selector text; an older file may hold the item index instead.
QString readChoice(const IniFile& settings, const QString& key, const QStringList& choices, const QString& fallback) {
    const QString value = settings.readString(kProgram, key, fallback).trimmed().toUpper();
    if (choices.contains(value))
        return value;
    bool ok = false;
    const int index = value.toInt(&ok);
    if (ok && index >= 0 && index < choices.size())
        return choices.at(index);
    return fallback;
}

} // namespace

EntryOptions EntryOptions::read(const IniFile& settings) {
    EntryOptions o;
    o.autoIncrement = settings.readBool(kProgram, QStringLiteral("Autonumber"), o.autoIncrement);
    o.stx = settings.readString(kProgram, QStringLiteral("STX"), o.stx);
    o.stxFixed = settings.readString(kProgram, QStringLiteral("Grupa"), o.stxFixed);
    o.withoutExchange = settings.readBool(kProgram, QStringLiteral("Logowanie grupy"), o.withoutExchange);
    o.oneQsoPerBand = settings.readBool(kProgram, QStringLiteral("Jedno QSO"), o.oneQsoPerBand);
    o.warcBands = settings.readBool(kProgram, QStringLiteral("Pasma WARC"), o.warcBands);
    o.digitalModes = settings.readBool(kProgram, QStringLiteral("Emisje cyfrowe"), o.digitalModes);
    o.band = readChoice(settings, QStringLiteral("Pasmo"), Bands::selectorList(o.warcBands), o.band);
    o.mode = readChoice(settings, QStringLiteral("Emisja"), Modes::selectorList(o.digitalModes), o.mode);
    o.separateVhfSerials = settings.readBool(kProgram, QStringLiteral("Osobna numeracja na UKF"), o.separateVhfSerials);
    o.manualUtc = settings.readBool(kProgram, QStringLiteral("Czas UTC manualny"), o.manualUtc);
    o.utcOffsetHours = std::clamp(settings.readInteger(kProgram, QStringLiteral("Offset"), o.utcOffsetHours), -12, 12);
    o.serialFormat = SerialNumber::formatFromIndex(
        settings.readInteger(QStringLiteral("Klucz CW"), QStringLiteral("Format"), int(o.serialFormat)));
    // The sent exchange never holds a blank; a hand-edited file must not smuggle one into the line.
    o.stxFixed.remove(QLatin1Char(' '));
    o.stxFixed = o.stxFixed.left(11);
    return o;
}

void EntryOptions::write(IniFile& settings) const {
    IniFile::Batch batch(settings);
    settings.writeBool(kProgram, QStringLiteral("Autonumber"), autoIncrement);
    settings.writeString(kProgram, QStringLiteral("STX"), stx);
    settings.writeString(kProgram, QStringLiteral("Grupa"), stxFixed);
    settings.writeBool(kProgram, QStringLiteral("Logowanie grupy"), withoutExchange);
    settings.writeBool(kProgram, QStringLiteral("Jedno QSO"), oneQsoPerBand);
    settings.writeBool(kProgram, QStringLiteral("Pasma WARC"), warcBands);
    settings.writeBool(kProgram, QStringLiteral("Emisje cyfrowe"), digitalModes);
    settings.writeString(kProgram, QStringLiteral("Pasmo"), band);
    settings.writeString(kProgram, QStringLiteral("Emisja"), mode);
    settings.writeBool(kProgram, QStringLiteral("Osobna numeracja na UKF"), separateVhfSerials);
    settings.writeBool(kProgram, QStringLiteral("Czas UTC manualny"), manualUtc);
    settings.writeInteger(kProgram, QStringLiteral("Offset"), utcOffsetHours);
}
