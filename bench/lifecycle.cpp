// Prints how long the log window's changes take on a large log: the edit and the delete (each rewrites the
// log file and reloads it), and the list view's model reset and scroll after a reload.
#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logedit.h"
#include "log/logsession.h"
#include "loglistmodel.h"
#include "platform/clock.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QStringList bigLog(int count) {
    static const char* bands[] = {"160M", "80M", "40M", "20M", "15M", "10M", "2M"};
    static const char* modes[] = {"CW", "PH", "FM"};
    QStringList lines;
    lines.reserve(count);
    const QDateTime start(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        QsoFields f;
        const QDateTime at = start.addSecs(i * 7);
        f.date = at.toString(QStringLiteral("yyyy-MM-dd"));
        f.time = at.toString(QStringLiteral("HH:mm:ss"));
        f.band = Band::fromName(QString::fromLatin1(bands[i % 7]));
        f.mode = Mode::fromCode(QString::fromLatin1(modes[i % 3]));
        f.rstSent = QStringLiteral("599");
        f.stxFirst = QString::number(i + 1).rightJustified(3, QLatin1Char('0'));
        f.call = QStringLiteral("SP%1X%2").arg(i % 10).arg(i % 9000);
        f.rstRcvd = QStringLiteral("599");
        f.srx = QStringLiteral("S") + QString::fromLatin1(i % 2 ? "GP" : "IC");
        lines.append(QsoLine::compose(f));
    }
    return lines;
}

double ms(QElapsedTimer& timer) {
    const double value = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return value;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    SystemClock clock;
    LogSession session(ProgramFolder(dir.path()), dialogs, clock);
    const QString path = dir.filePath(QStringLiteral("log.kvr"));
    TextFile::writeLines(path, bigLog(count));
    session.setLogPath(path);

    LogListModel model(session.log());
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(658, 400);
    view.show();
    QObject::connect(&session, &LogSession::logReloaded, &model, &LogListModel::reset);

    QElapsedTimer timer;
    timer.start();
    session.reload();
    std::printf("contacts               %d\n", int(session.log().size()));
    std::printf("load                   %8.1f ms\n", ms(timer));

    {
        const auto& v = session.log().lineTexts();
        const QStringList all(v.begin(), v.end());
        std::printf("  list copy            %8.1f ms\n", ms(timer));
        TextFile::copyFile(path, path + QStringLiteral("~"));
        std::printf("  copy to ~            %8.1f ms\n", ms(timer));
        TextFile::writeLines(path, all);
        std::printf("  write whole log      %8.1f ms\n", ms(timer));
        session.reload();
        std::printf("  reload               %8.1f ms\n", ms(timer));
    }
    EditedQso fields = EditedQso::fromQso(session.log().qso(count / 2));
    fields.srx = QStringLiteral("SKR");
    timer.restart();
    const LogEdit::EditResult edited = LogEdit::SaveEditedQso(session, count / 2, fields);
    std::printf("edit (rewrite+reload)  %8.1f ms   row %lld\n", ms(timer), static_cast<long long>(edited.row));

    dialogs.buttonAnswers = {DialogButton::Yes}; // the delete asks "Czy na pewno usunąć zaznaczoną łączność?"
    timer.restart();
    const LogEdit::DeleteResult deleted = LogEdit::DeleteQso(session, session.log().size() - 1);
    std::printf("delete (rewrite+reload)%8.1f ms   newest %d\n", ms(timer), int(deleted.newestDeleted));

    timer.restart();
    model.reset();
    view.scrollToBottom();
    QCoreApplication::processEvents();
    std::printf("model reset + scroll   %8.1f ms   rows %d\n", ms(timer), model.rowCount());

    timer.restart();
    for (int step = 0; step < 50; ++step) {
        view.scrollTo(model.index(step * (count / 50)));
        view.viewport()->repaint();
    }
    std::printf("50 jumps with repaint  %8.1f ms\n", ms(timer));
    for (const QString& text : dialogs.texts())
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return 0;
}
