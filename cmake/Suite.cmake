# Helpers shared by every CMakeLists.txt of the tree.

set(SUITE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# When not empty, only folders with these names are added (for example
# "projbase" or "shell;kbase;consult"), so that one area can be built while
# another is half-written.  common/ and tests/support/ are always entered.
set(SUITE_AREAS "" CACHE STRING "Folder names to build; empty builds everything")

function(suite_area_wanted dir out)
  get_filename_component(name ${dir} NAME)
  if(SUITE_AREAS STREQUAL "" OR name IN_LIST SUITE_AREAS OR name STREQUAL "support")
    set(${out} ON PARENT_SCOPE)
  else()
    set(${out} OFF PARENT_SCOPE)
  endif()
endfunction()
set(SUITE_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/../tests/lsan.supp)

# Adds each named folder that has a CMakeLists.txt.
function(suite_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    suite_area_wanted(${dir} wanted)
    if(wanted AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# Adds every direct subfolder that has a CMakeLists.txt, in name order, so that
# areas (tests/projbase, bench/lisp, fuzz/kbase ...) plug in without editing
# a shared file.
function(suite_add_all_subdirectories)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    suite_area_wanted(${child} wanted)
    if(wanted AND IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Environment every test runs in: no display, our leak suppressions for Qt.
set(SUITE_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "LSAN_OPTIONS=suppressions=${SUITE_LSAN_SUPPRESSIONS}:print_suppressions=0"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "SUITE_SOURCE_DIR=${SUITE_ROOT}")

# suite_gtest(NAME n SOURCES ... LIBS ... [ENV ...])
# A GoogleTest program; each TEST becomes one ctest test.
function(suite_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
      SUITE_SOURCE_DIR="${SUITE_ROOT}" SUITE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "${SUITE_TEST_ENV};${T_ENV}" TIMEOUT 600)
endfunction()

# suite_qttest(NAME n SOURCES ... LIBS ...)
# A Qt Test program run under the offscreen platform.
function(suite_qttest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT SUITE_QT)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets)
  set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
  target_compile_definitions(${T_NAME} PRIVATE
      SUITE_SOURCE_DIR="${SUITE_ROOT}" SUITE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${SUITE_TEST_ENV}" TIMEOUT 600)
endfunction()

# suite_test_command(NAME n COMMAND ... [ENV ...])
# A test that runs a command (end-to-end runs of the real programs, scripts).
function(suite_test_command)
  cmake_parse_arguments(T "" "NAME" "COMMAND;ENV" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${SUITE_TEST_ENV};${T_ENV}" TIMEOUT 900)
endfunction()

# suite_fuzz(NAME n SOURCES ... LIBS ... CORPUS dir [SECONDS s] [MAX_LEN bytes])
# In the fuzz configuration, builds the libFuzzer target n and writes n.fuzz
# beside it (line 1 the corpus folder, line 2 the target's own options) for
# scripts/fuzz.sh.  In the test configuration, when SUITE_FUZZ_BIN_DIR names
# a fuzz build, runs it briefly from its committed corpus as the test fuzz_n
# (new inputs go to a scratch folder, the committed corpus is never
# written).  MAX_LEN raises the input size for readers whose guards depend
# on it.
function(suite_fuzz)
  cmake_parse_arguments(T "" "NAME;CORPUS;SECONDS;MAX_LEN" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SECONDS)
    set(T_SECONDS 20)
  endif()
  set(options "")
  if(T_MAX_LEN)
    set(options "-max_len=${T_MAX_LEN}")
  endif()
  if(SUITE_FUZZ)
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
    target_link_options(${T_NAME} PRIVATE -fsanitize=fuzzer)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.fuzz "${T_CORPUS}\n${options}\n")
  elseif(SUITE_FUZZ_BIN_DIR)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(bin ${SUITE_FUZZ_BIN_DIR}/${rel}/${T_NAME})
    set(scratch ${CMAKE_BINARY_DIR}/fuzz-scratch/${T_NAME})
    add_test(NAME fuzz_${T_NAME}
      COMMAND ${CMAKE_COMMAND} -E env
              "ASAN_OPTIONS=detect_leaks=1" "UBSAN_OPTIONS=halt_on_error=1"
              sh -c "mkdir -p '${scratch}' && '${bin}' -max_total_time=${T_SECONDS} -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 ${options} '${scratch}' '${T_CORPUS}'")
    set_tests_properties(fuzz_${T_NAME} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# suite_benchmark(NAME n SOURCES ... LIBS ...)
# A Google Benchmark program, built in the release configuration only.
function(suite_benchmark)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(${T_NAME} PRIVATE SUITE_SOURCE_DIR="${SUITE_ROOT}")
endfunction()

# suite_program(target)
# Marks an executable as one of the delivered programs: it goes to
# <build>/bin, where run.sh and the end-to-end tests find it.
function(suite_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()
