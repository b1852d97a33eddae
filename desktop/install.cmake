# The parts of an installation that name the installation's own folders:
# the command of the desktop entry, the library's allegro.cfg beside the
# program (naming the patch set) and bin/bluejay, a link to the program.
# Run by `cmake --install`, so the prefix is the one given there.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(root "$ENV{DESTDIR}${prefix}")
set(BLUEJAY_PROGRAM "${prefix}/bin/bluejay")

file(MAKE_DIRECTORY "${root}/share/applications" "${root}/bin")
# The build's translated entry when there is one (the build sets
# BLUEJAY_DESKTOP_TEMPLATE), else the English one.
if(NOT DEFINED BLUEJAY_DESKTOP_TEMPLATE OR NOT EXISTS "${BLUEJAY_DESKTOP_TEMPLATE}")
  set(BLUEJAY_DESKTOP_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/bluejay.desktop.in")
endif()
configure_file("${BLUEJAY_DESKTOP_TEMPLATE}" "${root}/share/applications/bluejay.desktop" @ONLY)
message(STATUS "Installing: ${root}/share/applications/bluejay.desktop")

if(EXISTS "${root}/share/bluejay/patches.dat")
  file(WRITE "${root}/lib/bluejay/allegro.cfg" "[sound]\npatches = ${prefix}/share/bluejay/patches.dat\n")
  message(STATUS "Installing: ${root}/lib/bluejay/allegro.cfg")
endif()

file(REMOVE "${root}/bin/bluejay")
file(CREATE_LINK "../lib/bluejay/bluejay" "${root}/bin/bluejay" SYMBOLIC)
message(STATUS "Installing: ${root}/bin/bluejay -> ../lib/bluejay/bluejay")
