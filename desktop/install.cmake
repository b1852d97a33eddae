# The part of an installation that names the installation's own folders: the
# command of the desktop entry, made from the template in the build tree.
# Run by `cmake --install`, so the prefix is the one given there; the build
# sets BLUEJAY_PROGRAM_DIR, BLUEJAY_APP_ID, BLUEJAY_DESKTOP_TEMPLATE and
# BLUEJAY_APPLICATIONS_DIR before it runs.
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

if(IS_ABSOLUTE "${BLUEJAY_APPLICATIONS_DIR}")
  set(applications "$ENV{DESTDIR}${BLUEJAY_APPLICATIONS_DIR}")
else()
  set(applications "$ENV{DESTDIR}${prefix}/${BLUEJAY_APPLICATIONS_DIR}")
endif()
file(MAKE_DIRECTORY "${applications}")
configure_file("${BLUEJAY_DESKTOP_TEMPLATE}" "${applications}/${BLUEJAY_APP_ID}.desktop" @ONLY)
message(STATUS "Installing: ${applications}/${BLUEJAY_APP_ID}.desktop")
