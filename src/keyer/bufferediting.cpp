#include "keyer/bufferediting.h"

#include <QFileInfo>

#include <algorithm>

namespace BufferEditing {

QStringList macroEntries() {
    QStringList entries{
        QStringLiteral("<CALL>    - znak korespondenta"),
        QStringLiteral("<CW_DOWN> - prędkość CW - 5 WPM"),
        QStringLiteral("<CW_UP> - prędkość CW + 5 WPM"),
        QStringLiteral("<GRUPA>   - nadana grupa kontr."),
        QStringLiteral("<LOOP>    - praca w pętli"),
        QStringLiteral("<MYCALL>  - własny znak"),
        QStringLiteral("<QSOB4>   - powtórzone QSO"),
        QStringLiteral("<RAPORT>  - nadany raport RST"),
        QStringLiteral("<SAVEQSO> - zalogowanie QSO"),
        QStringLiteral("<SRX>     - odebrana grupa kontr."),
        QStringLiteral("<STX>     - nadana grupa kontr."),
        QStringLiteral("<STX1>   - nadawany pierwszy składnik grupy"),
        QStringLiteral("<STX2>   - nadawany drugi składnik grupy"),
        QStringLiteral("<SHORT> - włączenie skróconych cyfr"),
        QStringLiteral("<LONG> - wyłączenie skróconych cyfr"),
    };
    for (int n = 1; n <= 10; ++n) {
        // "<F1>      - …" and "<F10>    - …": the dash lines up as in the list the operators know.
        const QString token = QStringLiteral("<F%1>").arg(n);
        entries << token + QString(n < 10 ? 6 : 4, u' ') + QStringLiteral("- odwołanie do bufora F%1").arg(n);
    }
    entries << QStringLiteral("<INS>    - odwołanie do bufora INS");
    entries << QStringLiteral("<+>        - odwołanie do bufora +");
    return entries;
}

QString tokenOf(const QString& entry) {
    const qsizetype end = entry.indexOf(u'>');
    return end < 0 ? entry : entry.left(end + 1);
}

bool canInsertAt(const QString& text, int caret) {
    bool open = false;
    for (int i = 0; i < caret && i < text.size(); ++i) {
        if (text.at(i) == u'<')
            open = true;
        else if (text.at(i) == u'>')
            open = false;
    }
    return !open;
}

std::optional<Insertion> insertToken(const QString& text, int caret, const QString& token) {
    caret = std::clamp(caret, 0, int(text.size()));
    if (!canInsertAt(text, caret))
        return std::nullopt;
    return Insertion{text.left(caret) + token + text.mid(caret), caret + int(token.size())};
}

QString insertRefusedMessage() {
    return QStringLiteral("Nie można wstawić makro w tym miejscu !!");
}

QString myCallWarning(const QString& operatorWindowName) {
    return QStringLiteral("Makro <MYCALL> zastępowane jest znakiem \nużywanym podczas zawodów, podanym w oknie \n") +
           u'"' + operatorWindowName + u'"' +
           QStringLiteral(". Aby to makro poprawnie\ndziałało, uzupełnij swoje dane. ");
}

int bufferNumberFromCaption(const QString& caption) {
    const QString part = caption.section(u' ', 1);
    if (part == QLatin1String("INSERT"))
        return 11;
    if (part == QLatin1String("+"))
        return 12;
    if (part.startsWith(u'F')) {
        bool ok = false;
        const int n = part.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 10)
            return n;
    }
    return 0;
}

QString recordingPath(const QString& chosen) {
    if (chosen.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QStringLiteral(".wav");
}

bool recordingReplacesAnotherFile(const QString& path, const QString& buffersWavFile) {
    const QFileInfo target(path);
    if (!target.exists())
        return false;
    return buffersWavFile.isEmpty() || target.canonicalFilePath() != QFileInfo(buffersWavFile).canonicalFilePath();
}

QString recordingOverwriteQuestion(const QString& path) {
    return QStringLiteral("Plik WAV:\n") + path + QStringLiteral("\nistnieje.\nCzy zastąpić ten plik ?");
}

} // namespace BufferEditing
