target_sources(kvr_core PRIVATE
    contest/countryfile.h contest/countryfile.cpp
    contest/wpxprefix.cpp
)
