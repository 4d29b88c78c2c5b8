# Installing and packaging. Everything the programs look for beside
# themselves goes into one program folder (TUVANTA_INSTALL_DIR under the
# prefix, /usr/lib/tuvanta in the package); the command path gets links to
# the two programs a user starts, the desktop menu an entry with an icon,
# manual pages for tuvanta, tuvanta-cli and ampsim, bash completion of
# tuvanta-cli, and software centres the AppStream metainfo.
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
# The package's documents folder is named after the package, not the project.
set(tuvanta_docdir "${CMAKE_INSTALL_DATADIR}/doc/tuvanta")
install(FILES README.md packaging/copyright DESTINATION "${tuvanta_docdir}")

# The changelog names the version and date of the release; the version must
# be the project's, or the package would contradict itself.
file(STRINGS packaging/changelog tuvanta_changelog_head LIMIT_COUNT 1)
if(NOT tuvanta_changelog_head MATCHES "^tuvanta \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with a tuvanta entry: ${tuvanta_changelog_head}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's newest entry is ${CMAKE_MATCH_1}, the project is ${PROJECT_VERSION}: add an entry")
endif()
file(STRINGS packaging/changelog tuvanta_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT tuvanta_changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog's newest entry has no date: ${tuvanta_changelog_trailer}")
endif()
set(tuvanta_day "${CMAKE_MATCH_1}")
set(tuvanta_year "${CMAKE_MATCH_3}")
set(tuvanta_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND tuvanta_months "${CMAKE_MATCH_2}" tuvanta_month)
math(EXPR tuvanta_month "${tuvanta_month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" tuvanta_month "${tuvanta_month}")
string(REGEX REPLACE "^([0-9])$" "0\\1" tuvanta_day "${tuvanta_day}")
set(TUVANTA_RELEASE_DATE "${tuvanta_year}-${tuvanta_month}-${tuvanta_day}")

# Software centres list the program by its AppStream metainfo.
configure_file(packaging/example.halvex.tuvanta.metainfo.xml
  ${CMAKE_BINARY_DIR}/packaging/example.halvex.tuvanta.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/example.halvex.tuvanta.metainfo.xml
  DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Bash completion of tuvanta-cli, found by bash-completion on first use.
install(FILES packaging/tuvanta-cli.bash DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions"
  RENAME tuvanta-cli)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n:
# no name or time stamp, so the same sources give the same bytes). The
# pages of the window program and of the simulator are written by hand;
# tuvanta-cli's is made from its --help at build time.
find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(NOT GZIP)
  message(FATAL_ERROR "gzip is needed for the manual pages and the changelog")
endif()
set(tuvanta_man_dir ${CMAKE_BINARY_DIR}/man)
set(tuvanta_gz_files)
foreach(page tuvanta ampsim)
  configure_file(packaging/${page}.1 ${tuvanta_man_dir}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${tuvanta_man_dir}/${page}.1.gz
    COMMAND ${GZIP} -9nkf ${tuvanta_man_dir}/${page}.1
    DEPENDS ${tuvanta_man_dir}/${page}.1
    COMMENT "Compressing the man page of ${page}"
    VERBATIM)
  list(APPEND tuvanta_gz_files ${tuvanta_man_dir}/${page}.1.gz)
  install(FILES ${tuvanta_man_dir}/${page}.1.gz DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
configure_file(packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog COPYONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${GZIP} -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
list(APPEND tuvanta_gz_files ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION "${tuvanta_docdir}")
if(HELP2MAN)
  set(tuvanta_man ${tuvanta_man_dir}/tuvanta-cli.1)
  add_custom_command(OUTPUT ${tuvanta_man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tuvanta_man_dir}
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr
            --name "talk to Halvex servo amplifiers from scripts"
            --version-string "${PROJECT_VERSION}"
            --include ${PROJECT_SOURCE_DIR}/packaging/tuvanta-cli.h2m
            --output ${tuvanta_man} $<TARGET_FILE:tuvanta-cli>
    COMMAND ${GZIP} -9nf ${tuvanta_man}
    DEPENDS tuvanta-cli ${PROJECT_SOURCE_DIR}/packaging/tuvanta-cli.h2m
    COMMENT "Making the man page of tuvanta-cli"
    VERBATIM)
  list(APPEND tuvanta_gz_files ${tuvanta_man}.gz)
  install(FILES ${tuvanta_man}.gz DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
else()
  message(WARNING "help2man not found: tuvanta-cli gets no man page (scripts/dev.sh deps installs help2man)")
endif()
add_custom_target(tuvanta_man ALL DEPENDS ${tuvanta_gz_files})

# The Debian package. Library dependencies come from dpkg-shlibdeps; the
# window system plug-in and the fonts are what it cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tuvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halvex Motion Systems Co., Ltd.")
set(CPACK_PACKAGE_CONTACT "Tuvanta developers <tuvanta@halvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up tool for Halvex servo amplifiers")
# The synopsis comes from the summary; this is the long description only,
# one blank line between paragraphs (CPack indents it and marks the blank).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tuvanta reads, edits, saves and prints the parameters of up to fifteen
servo amplifiers on one serial line, shows monitors and the alarm history,
runs JOG tests and tunings, records operation traces and measures the
machine's frequency response (with its analyser Respana).

tuvanta-cli talks to the amplifiers from scripts; ampsim plays amplifiers
behind a pseudo-terminal for trying things out without hardware.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.halvex.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The IPA fonts draw the reports (see TZnPrinter::PageFont).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
# gzip: quick to make, and every dpkg reads it.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
