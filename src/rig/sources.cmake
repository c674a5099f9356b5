target_sources(kvr_core PRIVATE
    rig/rig.h
    rig/rigsettings.h rig/rigsettings.cpp
    rig/rigmapping.h rig/rigmapping.cpp
    rig/rigfollower.h rig/rigfollower.cpp
    rig/rigpoller.h rig/rigpoller.cpp
)
