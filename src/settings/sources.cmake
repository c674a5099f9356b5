target_sources(kvr_core PRIVATE
    settings/inifile.h settings/inifile.cpp
    settings/windowsettings.h settings/windowsettings.cpp
    settings/settingskey.h settings/settingskeys.h settings/settingskeys.cpp
)
