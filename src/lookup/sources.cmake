target_sources(kvr_core PRIVATE
    lookup/workedcalls.h lookup/workedcalls.cpp
    lookup/mastercalldb.h lookup/mastercalldb.cpp
    lookup/textmasterfile.h lookup/textmasterfile.cpp
    lookup/masterselection.h lookup/masterselection.cpp
    lookup/callsuggestions.h lookup/callsuggestions.cpp
    lookup/entryfieldhops.h lookup/entryfieldhops.cpp
    lookup/workedcallsgroups.h lookup/workedcallsgroups.cpp
    lookup/listwindowsettings.h lookup/listwindowsettings.cpp
)
