// The plug-in's version, kept here alone: the resource script (FILEVERSION, PRODUCTVERSION and
// the texts), the code, scripts/check_dll.sh and the release package all take it from this
// file. Plain macros, so that windres reads it as well as the compilers; the scripts read the
// two numbers with scripts/version.sh.
#pragma once

#define TARNWICK_VERSION_MAJOR 0
#define TARNWICK_VERSION_MINOR 30

#define TARNWICK_STRINGIFY(x) #x
#define TARNWICK_TEXT_OF(x) TARNWICK_STRINGIFY(x)
// "0.30"
#define TARNWICK_VERSION_TEXT \
    TARNWICK_TEXT_OF(TARNWICK_VERSION_MAJOR) "." TARNWICK_TEXT_OF(TARNWICK_VERSION_MINOR)
// "Tarnwick Version 0.30": the name the client lists and the about box shows.
#define TARNWICK_PLUGIN_NAME "Tarnwick Version " TARNWICK_VERSION_TEXT
