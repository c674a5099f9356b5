// make_dta LIST OUT.dta: writes a master callsign database from a list of callsigns (one a line, "#" comments
// and blank lines skipped). A tool for tests and benchmarks, not part of the program.
#include "dtawriter.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_dta LIST OUT.dta\n");
        return 2;
    }
    const QStringList calls = DtaWriter::readCallList(args.at(1));
    if (!DtaWriter::write(args.at(2), calls)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    std::printf("%lld callsigns written to %s\n", static_cast<long long>(calls.size()), qPrintable(args.at(2)));
    return 0;
}
