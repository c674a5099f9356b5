target_sources(kvr_core PRIVATE
    entry/startupoptions.h entry/startupoptions.cpp
    entry/serialnumber.h entry/serialnumber.cpp
    entry/entryoptions.h entry/entryoptions.cpp
    entry/entryclock.h entry/entryclock.cpp
    entry/logbackups.h entry/logbackups.cpp
    entry/entryindex.h entry/entryindex.cpp
    entry/workedbefore.h entry/workedbefore.cpp
    entry/addqso.h entry/addqso.cpp
    entry/outsidecontact.h entry/outsidecontact.cpp
    entry/entrystartup.h entry/entrystartup.cpp
    entry/entrysession.h entry/entrysession.cpp
    entry/rigpollerkeying.h entry/rigpollerkeying.cpp
    entry/rigcontrol.h entry/rigcontrol.cpp
    entry/entrykeys.h entry/entrykeys.cpp
    entry/offlinetimekeys.h entry/offlinetimekeys.cpp
)
