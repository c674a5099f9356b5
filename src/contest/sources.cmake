target_sources(kvr_core PRIVATE
    contest/contestdefinition.h contest/contestdefinition.cpp
)
