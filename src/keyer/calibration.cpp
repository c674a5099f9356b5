#include "keyer/calibration.h"

#include <QLocale>
#include <QStringList>

namespace Calibration {

QString parisText() {
    return QStringList(20, QStringLiteral("PARIS")).join(u' ');
}

QString introMessage() {
    return QStringLiteral("Kalibracja umożliwia skorygowanie prędkości nadawania tak, \naby odpowiadała ona dokładnie "
                          "ustawionej liczbie grup.\n\nKalibracja odbywa się przy wyłączonym podsłuchu, który "
                          "\nzniekształca czasy trwania znaków. Należy też wyłączyć\ntransceiver...\n\nKalibracja "
                          "trwa ok. 1 minuty. ");
}

double seconds(qint64 elapsedMs) {
    return double(elapsedMs) / 1000.0;
}

double factor(double seconds) {
    return seconds / kIdealSeconds;
}

QString failedMessage() {
    return QStringLiteral("Kalibracja została przerwana: klucz nie działa na wybranym porcie.\n"
                          "Współczynnik korekcji nie został zmieniony.");
}

QString resultMessage(double seconds) {
    return QStringLiteral("Przy prędkości 20 WPM dwudziestokrotne nadawanie \nsłowa PARIS powinno trwać dokładnie 60 "
                          "sekund.\n\nPrzy aktualnych ustawieniach parametrów znaków\nnadawanie trwało ") +
           QLocale().toString(seconds, 'g', 12) + QStringLiteral(" sekund.") + u'\n' + u'\n' +
           QStringLiteral("Współczynnik korekcji został zapisany w pliku INI.");
}

} // namespace Calibration
