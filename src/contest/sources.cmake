target_sources(kvr_core PRIVATE
    contest/contestdefinition.h contest/contestdefinition.cpp
    contest/countryfile.h contest/countryfile.cpp
    contest/wpxprefix.cpp
)
