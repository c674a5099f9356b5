target_sources(kvr_core PRIVATE
    platform/userdialogs.h
    platform/clock.h
    platform/programfolder.h platform/programfolder.cpp
    platform/writefaults.h platform/writefaults.cpp
)
