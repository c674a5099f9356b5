target_sources(kvr_core PRIVATE
    settings/inifile.h settings/inifile.cpp
    settings/programsettings.h settings/programsettings.cpp
    settings/settingsbinding.h
    settings/windowsettings.h settings/windowsettings.cpp
    settings/settingskey.h settings/settingskeys.h settings/settingskeys.cpp
)
