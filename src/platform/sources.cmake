target_sources(kvr_core PRIVATE
    platform/userdialogs.h
    platform/clock.h
    platform/threadcall.h platform/threadcall.cpp
    platform/programfolder.h platform/programfolder.cpp
    platform/programversion.h platform/programversion.cpp
    platform/filestamp.h platform/filestamp.cpp
    platform/writefaults.h platform/writefaults.cpp
    platform/processpriority.h platform/processpriority.cpp
    platform/terminationsignals.h platform/terminationsignals.cpp
)
# Only this file knows the number, so a new version rebuilds one file of the core.
set_source_files_properties(platform/programversion.cpp PROPERTIES COMPILE_DEFINITIONS
                            "KVR_VERSION=\"${PROJECT_VERSION}\"")
