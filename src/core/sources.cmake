target_sources(kvr_core PRIVATE
    core/bands.h core/bands.cpp
    core/modes.h core/modes.cpp
    core/qsoline.h core/qsoline.cpp
    core/textfile.h core/textfile.cpp
    core/logfile.h core/logfile.cpp
    core/logbook.h core/logbook.cpp
    core/logloader.h core/logloader.cpp
    core/logsession.h core/logsession.cpp
    core/loglifecycle.h core/loglifecycle.cpp
    core/logedit.h core/logedit.cpp
)
