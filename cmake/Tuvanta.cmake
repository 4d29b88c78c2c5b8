# Adds the sources of one subsystem folder (not its subfolders) to the core or
# the UI library. Windows (FM*) and reports (RP*) are UI; so is the page store
# with its settings and grey-scale helpers (ZnPrint*), which record and play
# pages with QtGui and QtPrintSupport. Everything else is core. Programs keep
# their main() in a subfolder with its own CMakeLists.txt.
function(tuvanta_folder_sources dir)
  file(GLOB srcs CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  foreach(f IN LISTS srcs)
    get_filename_component(name ${f} NAME)
    if(name MATCHES "^(FM|RP|ZnPrint)")
      target_sources(tuvanta_ui PRIVATE ${f})
    else()
      target_sources(tuvanta_core PRIVATE ${f})
    endif()
  endforeach()
endfunction()

# One GoogleTest program per tests/ subfolder: tests_<folder>. Widget tests
# run on the offscreen platform.
# GUI: the program gets a QApplication and links the UI library; otherwise a
# QCoreApplication and the core.
function(tuvanta_test_folder folder)
  cmake_parse_arguments(T "GUI" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT srcs)
    return()
  endif()
  set(target tests_${folder})
  add_executable(${target} ${srcs})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_GUI)
    target_link_libraries(${target} PRIVATE tuvanta_test_main_gui tuvanta_ui)
  else()
    target_link_libraries(${target} PRIVATE tuvanta_test_main_core)
  endif()
  target_link_libraries(${target} PRIVATE tuvanta_test_support ${T_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${target} PRIVATE
    TUVANTA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TUVANTA_BIN_DIR="${TUVANTA_BIN_DIR}")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
