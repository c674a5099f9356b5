target_sources(kvr_core PRIVATE
    contest/contestdefinition.h contest/contestdefinition.cpp
    contest/countryfile.h contest/countryfile.cpp
    contest/wpxprefix.cpp
    contest/contestchoice.h contest/contestchoice.cpp
    contest/contestscore.h contest/contestscore.cpp
    contest/contestrate.h contest/contestrate.cpp
    contest/contestsession.h contest/contestsession.cpp
    contest/contestentryline.h contest/contestentryline.cpp
)
