# Fails the configuration at once when the compiler cannot build the
# sources or the instrumented builds that the options ask for, instead of
# in the middle of the build. Known to pass: GCC 12 and Clang 14 (Debian 12).

set(tuvanta_probe ${CMAKE_CURRENT_LIST_DIR}/CompilerFeatures.cpp)

# tuvanta_try(RESULT FLAGS...): compiles and links the probe with FLAGS.
function(tuvanta_try result)
  try_compile(ok ${CMAKE_BINARY_DIR}/CMakeFiles/tuvanta_probe_${result}
    SOURCES ${tuvanta_probe}
    CMAKE_FLAGS "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS} ${ARGN}" "-DCMAKE_EXE_LINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS} ${ARGN}"
    CXX_STANDARD 20 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF
    OUTPUT_VARIABLE log)
  if(NOT ok)
    string(REGEX MATCHALL "[^\n]*(error|Error)[^\n]*" errors "${log}")
    list(JOIN errors "\n  " errors)
    set(${result}_LOG "${errors}" PARENT_SCOPE)
  endif()
  set(${result} ${ok} PARENT_SCOPE)
endfunction()

set(tuvanta_compiler "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} (${CMAKE_CXX_COMPILER})")
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  message(FATAL_ERROR "${tuvanta_compiler}: the build is made for GCC (12 or later) or Clang (14 or later)")
endif()
if((CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 12)
   OR (CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14))
  message(FATAL_ERROR "${tuvanta_compiler} is too old: GCC 12 or Clang 14 is the least")
endif()

tuvanta_try(TUVANTA_CXX20 "")
if(NOT TUVANTA_CXX20)
  message(FATAL_ERROR "${tuvanta_compiler} lacks C++20 features the sources use "
    "(defaulted comparisons, concepts, designated initialisers, from_chars for double, <numbers>):\n  ${TUVANTA_CXX20_LOG}")
endif()

if(TUVANTA_ASAN)
  tuvanta_try(TUVANTA_HAS_ASAN "-fsanitize=address,undefined")
  if(NOT TUVANTA_HAS_ASAN)
    message(FATAL_ERROR "TUVANTA_ASAN: ${tuvanta_compiler} cannot build with -fsanitize=address,undefined "
      "(GCC needs libasan and libubsan, Clang its compiler-rt):\n  ${TUVANTA_HAS_ASAN_LOG}")
  endif()
endif()
if(TUVANTA_TSAN)
  tuvanta_try(TUVANTA_HAS_TSAN "-fsanitize=thread")
  if(NOT TUVANTA_HAS_TSAN)
    message(FATAL_ERROR "TUVANTA_TSAN: ${tuvanta_compiler} cannot build with -fsanitize=thread:\n  ${TUVANTA_HAS_TSAN_LOG}")
  endif()
endif()
if(TUVANTA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_C_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TUVANTA_FUZZ needs libFuzzer, which comes with Clang: configure a fresh build folder with "
      "CC=clang CXX=clang++ (now C: ${CMAKE_C_COMPILER_ID}, C++: ${tuvanta_compiler})")
  endif()
  # The probe has a main of its own; libFuzzer's instrumentation without its
  # main is what the libraries get, the full runtime what the targets link.
  tuvanta_try(TUVANTA_HAS_FUZZER "-fsanitize=fuzzer-no-link,address,undefined")
  if(NOT TUVANTA_HAS_FUZZER)
    message(FATAL_ERROR "TUVANTA_FUZZ: ${tuvanta_compiler} cannot build with -fsanitize=fuzzer-no-link,address,undefined:\n  ${TUVANTA_HAS_FUZZER_LOG}")
  endif()
endif()
