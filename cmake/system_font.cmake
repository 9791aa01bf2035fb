# HEXIL_SYSTEM_FONT: the TrueType file that stands in for tahoma.ttf, Debian's DejaVu Sans
# first. The build's run directory copies it, the installed launcher links it, hexil-export
# falls back to it, the browser build preloads it and the tests draw with it.
# `cmake -P cmake/system_font.cmake` prints it for the scripts that build without CMake.
find_file(HEXIL_SYSTEM_FONT DejaVuSans.ttf
    PATHS /usr/share/fonts/truetype/dejavu   # Debian, Ubuntu
          /usr/share/fonts/dejavu-sans-fonts # Fedora
          /usr/share/fonts/TTF               # Arch
          /usr/share/fonts/dejavu
    # A file of the machine that builds, also when building for another (the browser).
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
    DOC "The font the viewer opens as tahoma.ttf when none is there")
if(NOT HEXIL_SYSTEM_FONT)
    message(FATAL_ERROR "DejaVu Sans (DejaVuSans.ttf) not found; install fonts-dejavu-core "
                        "or set HEXIL_SYSTEM_FONT")
endif()
if(CMAKE_SCRIPT_MODE_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${HEXIL_SYSTEM_FONT}")
endif()
