target_sources(kvr_core PRIVATE
    core/bands.h core/bands.cpp
    core/modes.h core/modes.cpp
    core/qsoline.h core/qsoline.cpp
    core/qso.h core/qso.cpp
    core/textfile.h core/textfile.cpp
    core/memotext.h core/memotext.cpp
    core/logfile.h core/logfile.cpp
    core/loglock.h core/loglock.cpp
)
