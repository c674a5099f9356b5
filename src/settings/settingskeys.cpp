#include "settings/settingskeys.h"

namespace SettingsKeys {

QString sectionName(WindowSection window) {
    switch (window) {
    case WindowSection::Log:
        return QStringLiteral("Log");
    case WindowSection::LoggedCalls:
        return QStringLiteral("Zalogowane");
    case WindowSection::WorkedCounties:
        return QStringLiteral("Powiaty");
    case WindowSection::CallSuggestions:
        return Master::section;
    case WindowSection::SsbList:
        return WorkedCalls::section;
    case WindowSection::CwList:
        return QStringLiteral("Lista CW");
    case WindowSection::FmList:
        return QStringLiteral("Lista FM");
    case WindowSection::Statistics:
        return QStringLiteral("Statystyka");
    case WindowSection::Score:
        return QStringLiteral("Wynik");
    }
    return {};
}

SettingsKey<QString> Buffers::name(int number) {
    QString defaultName = QStringLiteral("F%1").arg(number);
    if (number == 11)
        defaultName = QStringLiteral("INS");
    else if (number == 12)
        defaultName = QStringLiteral("+");
    return {section, QStringLiteral("Bufor%1-nazwa").arg(number), defaultName};
}

QList<AnyKey> fixedKeys() {
    QList<AnyKey> keys;
    keys << Program::logPath << Program::autoIncrement << Program::stx << Program::stxFixed << Program::withoutExchange
         << Program::oneQsoPerBand << Program::warcBands << Program::digitalModes << Program::band << Program::mode
         << Program::separateVhfSerials << Program::manualUtc << Program::utcOffsetHours << Program::priority
         << Program::sentExchangeColour << Program::windowX << Program::windowY;
    keys << View::loggedCalls << View::callSuggestions << View::ssbList << View::logWindow << View::cwList
         << View::fmList << View::workedCounties << View::bufferBar << View::currentModeListOnly
         << View::statisticsWindow << View::scoreWindow;
    keys << Analysis::mode << Analysis::sameLocatorKm << Analysis::enabled << Analysis::countiesAllModes;
    keys << Operator::contestCall << Operator::name << Operator::email << Operator::address1 << Operator::address2
         << Operator::town << Operator::postcode << Operator::locator << Operator::operatorCall;
    keys << Contest::definition;
    keys << Keyer::port << Keyer::lptUserAddress << Keyer::keyingLine << Keyer::speed << Keyer::toneHz << Keyer::volume
         << Keyer::dashRatio << Keyer::gapRatio << Keyer::longGapRatio << Keyer::sidetone << Keyer::loopDelaySeconds
         << Keyer::pttDelayMs << Keyer::serialFormat << Keyer::cutNumbers << Keyer::ptt << Keyer::multithreaded
         << Keyer::extraGap << Keyer::mapDownAsInsert << Keyer::mapUpAsPlus << Keyer::calibrationFactor << Keyer::kind
         << Keyer::winkeyerPort << Keyer::winkeyerSpeedPot << Keyer::cwdaemonAddress;
    keys << Radio::connection << Radio::model << Radio::port << Radio::speed << Radio::rigctld << Radio::pollMs
         << Radio::direction << Radio::ptt << Radio::cwKeyer;
    keys << Cabrillo::contestName << Cabrillo::version << Cabrillo::contest << Cabrillo::categoryOperator
         << Cabrillo::transmitter << Cabrillo::assisted << Cabrillo::band << Cabrillo::mode << Cabrillo::power
         << Cabrillo::time << Cabrillo::station << Cabrillo::overlay << Cabrillo::operators << Cabrillo::domesticContest
         << Cabrillo::club << Cabrillo::remarks << Cabrillo::category;
    keys << Edi::TName << Edi::PExch << Edi::PAdr1 << Edi::PAdr2 << Edi::PSect << Edi::PClub << Edi::RPhon << Edi::RHBBS
         << Edi::MOpe1 << Edi::MOpe2 << Edi::squaresMultiply;
    keys << Master::file;
    keys << WorkedCalls::spColour << WorkedCalls::sqColour << WorkedCalls::snColour << WorkedCalls::otherColour;
    return keys;
}

} // namespace SettingsKeys
