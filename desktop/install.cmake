# The part of an installation that names the installation's own folders: the
# command of the desktop entry, made from the template in the build tree.
# Run by `cmake --install`, so the prefix is the one given there; the build
# sets BLUEJAY_PROGRAM_DIR, BLUEJAY_APP_ID and BLUEJAY_APPLICATIONS_DIR (and
# BLUEJAY_DESKTOP_TEMPLATE, the translated entry) before it runs.
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(IS_ABSOLUTE "${BLUEJAY_PROGRAM_DIR}")
  set(program_dir "${BLUEJAY_PROGRAM_DIR}")
else()
  set(program_dir "${prefix}/${BLUEJAY_PROGRAM_DIR}")
endif()
set(BLUEJAY_PROGRAM "${program_dir}/bluejay")

# An earlier installation made the program a link into lib/bluejay: the new
# program replaces the link instead of being written through it.
if(IS_SYMLINK "$ENV{DESTDIR}${BLUEJAY_PROGRAM}")
  file(REMOVE "$ENV{DESTDIR}${BLUEJAY_PROGRAM}")
endif()

# The build's translated entry when there is one (the build sets
# BLUEJAY_DESKTOP_TEMPLATE), else the English one.
if(NOT DEFINED BLUEJAY_DESKTOP_TEMPLATE OR NOT EXISTS "${BLUEJAY_DESKTOP_TEMPLATE}")
  set(BLUEJAY_DESKTOP_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/bluejay.desktop.in")
endif()

if(IS_ABSOLUTE "${BLUEJAY_APPLICATIONS_DIR}")
  set(applications "$ENV{DESTDIR}${BLUEJAY_APPLICATIONS_DIR}")
else()
  set(applications "$ENV{DESTDIR}${prefix}/${BLUEJAY_APPLICATIONS_DIR}")
endif()
file(MAKE_DIRECTORY "${applications}")
configure_file("${BLUEJAY_DESKTOP_TEMPLATE}" "${applications}/${BLUEJAY_APP_ID}.desktop" @ONLY)
message(STATUS "Installing: ${applications}/${BLUEJAY_APP_ID}.desktop")
