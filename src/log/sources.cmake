target_sources(kvr_core PRIVATE
    log/logbook.h log/logbook.cpp
    log/logloader.h log/logloader.cpp
    log/logsession.h log/logsession.cpp
    log/loglifecycle.h log/loglifecycle.cpp
    log/logedit.h log/logedit.cpp
    log/loggedcounties.h log/loggedcounties.cpp
    log/analysishandlers.h log/analysishandlers.cpp
)
