#pragma once

#include <QString>

#include <optional>

class LogSession;

// What the export files of the program share: the proposed name, the save dialog with its overwrite question,
// the default extension and the closing message.
namespace ExportFile {

// The contest callsign in lower case with every "/" and "\" replaced by "_".
QString proposedName(const QString& contestCall);
// A chosen name without extension gets the format's one (".cbr", ".adi", ".csv").
QString withDefaultExtension(const QString& path, const QString& extension);

struct Kind {
    QString label;     // "Cabrillo", "ADIF", "CSV": the message texts name the format
    QString filter;    // Qt filter: "Pliki Cabrillo (*.cbr);;Wszystkie pliki (*)"
    QString extension; // "cbr"
};
Kind cabrillo();
Kind adif();
Kind csv();

// The save dialog; an existing file needs "Yes" to the overwrite question, "No" asks for another name.
// nullopt when the operator cancels or gives an empty name.
std::optional<QString> choose(LogSession& session, const Kind& kind, const QString& contestCall);

QString overwriteQuestion(const Kind& kind, const QString& path);
QString savedMessage(const Kind& kind, const QString& path);

} // namespace ExportFile
