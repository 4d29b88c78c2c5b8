# Installing and packaging. Everything the programs look for beside
# themselves goes into one program folder (TUVANTA_INSTALL_DIR under the
# prefix, /usr/lib/tuvanta in the package); the command path gets links to
# the two programs a user starts, the desktop menu an entry with an icon,
# and tuvanta-cli a man page made from its --help.
#
#   cmake --install build --prefix /opt/tuvanta     (or DESTDIR=... cmake --install build)
#   cd build && cpack -G DEB                        (tuvanta_VERSION_ARCH.deb)
#
# A file that a later window needs beside the program: make the build put it
# into build/bin and add its name pattern to TUVANTA_BESIDE_FILES (or its
# folder to TUVANTA_BESIDE_DIRS); both are looked up when the install runs.

include(GNUInstallDirs)

set(TUVANTA_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/tuvanta" CACHE STRING
    "Program folder under the prefix: the programs and the files beside them")
if(IS_ABSOLUTE "${TUVANTA_INSTALL_DIR}")
  message(FATAL_ERROR "TUVANTA_INSTALL_DIR must be relative to the prefix")
endif()
# Debian's multiarch library folder (lib/x86_64-linux-gnu) is no place for a
# program folder.
string(REGEX REPLACE "^lib/[^/]+-linux-gnu[^/]*" "lib" TUVANTA_INSTALL_DIR "${TUVANTA_INSTALL_DIR}")

# File name patterns and folders taken from build/bin when the install runs.
set(TUVANTA_BESIDE_FILES
  "*.ad0" "*.ad1" "*.ad2" "*.ad3"          # definition databases
  "*.ENU" "*.EN" "*.JPN" "*.JP"             # language files
  "Startup.bmp" "Startup.jpg" "Online.avi"  # splash and online animation
  "*.pdf" "*.chm" "*.htm" "*.html")         # help documents
set(TUVANTA_BESIDE_DIRS MotorFiles Help)

install(TARGETS Tuvanta tuvanta-cli Respana ampsim RUNTIME DESTINATION "${TUVANTA_INSTALL_DIR}")
install(CODE "
  set(TUVANTA_BIN_DIR \"${TUVANTA_BIN_DIR}\")
  set(TUVANTA_INSTALL_DIR \"${TUVANTA_INSTALL_DIR}\")
  set(TUVANTA_BESIDE_FILES \"${TUVANTA_BESIDE_FILES}\")
  set(TUVANTA_BESIDE_DIRS \"${TUVANTA_BESIDE_DIRS}\")
  include(\"${PROJECT_SOURCE_DIR}/packaging/InstallBeside.cmake\")")
# Defaults for every user of an installed copy (the database to open); the
# users' own settings go to ~/.config/Tuvanta/Tuvanta.ini.
install(FILES packaging/Tuvanta.ini DESTINATION "${TUVANTA_INSTALL_DIR}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Command-path links, relative so that DESTDIR and the package keep them right.
file(RELATIVE_PATH tuvanta_link_up "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${TUVANTA_INSTALL_DIR}")
install(CODE "
  set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bindir}\")
  foreach(pair tuvanta:Tuvanta tuvanta-cli:tuvanta-cli)
    string(REPLACE \":\" \";\" pair \"\${pair}\")
    list(GET pair 0 link)
    list(GET pair 1 program)
    file(REMOVE \"\${bindir}/\${link}\")
    file(CREATE_LINK \"${tuvanta_link_up}/\${program}\" \"\${bindir}/\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${bindir}/\${link} -> ${tuvanta_link_up}/\${program}\")
  endforeach()")

install(FILES packaging/tuvanta.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES packaging/tuvanta.svg DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES README.md DESTINATION "${CMAKE_INSTALL_DOCDIR}")

# The man page of tuvanta-cli, made from its --help at build time.
find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(HELP2MAN AND GZIP)
  set(tuvanta_man ${CMAKE_BINARY_DIR}/man/tuvanta-cli.1)
  add_custom_command(OUTPUT ${tuvanta_man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr
            --name "talk to Halvex servo amplifiers from scripts"
            --version-string "${PROJECT_VERSION}"
            --output ${tuvanta_man} $<TARGET_FILE:tuvanta-cli>
    COMMAND ${GZIP} -9nf ${tuvanta_man}
    DEPENDS tuvanta-cli
    COMMENT "Making the man page of tuvanta-cli"
    VERBATIM)
  add_custom_target(tuvanta_man ALL DEPENDS ${tuvanta_man}.gz)
  install(FILES ${tuvanta_man}.gz DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
else()
  message(WARNING "help2man or gzip not found: tuvanta-cli gets no man page (scripts/dev.sh deps installs help2man)")
endif()

# The Debian package. Library dependencies come from dpkg-shlibdeps; the
# window system plug-in and the fonts are what it cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tuvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halvex Motion Systems Co., Ltd.")
set(CPACK_PACKAGE_CONTACT "Tuvanta developers <tuvanta@halvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up tool for Halvex servo amplifiers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "set-up tool for Halvex servo amplifiers
 Tuvanta reads, edits, saves and prints the parameters of up to fifteen
 servo amplifiers on one serial line, shows monitors and the alarm history,
 runs JOG tests and tunings, records operation traces and measures the
 machine's frequency response (with its analyser Respana).
 .
 tuvanta-cli talks to the amplifiers from scripts; ampsim plays amplifiers
 behind a pseudo-terminal for trying things out without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
# gzip: quick to make, and every dpkg reads it.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
