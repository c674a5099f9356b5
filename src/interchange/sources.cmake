target_sources(kvr_core PRIVATE
    interchange/contactloop.h
    interchange/exportfile.h interchange/exportfile.cpp
    interchange/cabrilloexport.h interchange/cabrilloexport.cpp
    interchange/adifexport.h interchange/adifexport.cpp
    interchange/ediexport.h interchange/ediexport.cpp
    interchange/csvexport.h interchange/csvexport.cpp
    interchange/adifimport.h interchange/adifimport.cpp
    interchange/cabrilloimport.h interchange/cabrilloimport.cpp
    interchange/interchangecommands.h interchange/interchangecommands.cpp
)
