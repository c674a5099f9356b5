target_sources(kvr_core PRIVATE
    settings/inifile.h settings/inifile.cpp
    settings/windowsettings.h settings/windowsettings.cpp
)
