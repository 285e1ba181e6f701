# Shared compile settings and small helpers for the project's targets.

add_library(ordalvex_options INTERFACE)
target_compile_options(ordalvex_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(ordalvex_options INTERFACE QT_NO_KEYWORDS)
if(ORDALVEX_WERROR)
  target_compile_options(ordalvex_options INTERFACE -Werror)
endif()
if(ORDALVEX_SANITIZE)
  target_compile_options(ordalvex_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=undefined)
  target_link_options(ordalvex_options INTERFACE -fsanitize=address,undefined)
endif()

# ordalvex_library(<name> <core|ui> SOURCES ... [PUBLIC ...] [PRIVATE ...])
# A core library links QtCore at most, a ui library widgets. PUBLIC names what the library's
# headers include, PRIVATE what only its sources use. Subsystems depend on lower layers only
# (checked by the "layers" test, see CheckLayers.cmake).
function(ordalvex_library name kind)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(kind STREQUAL "core")
    set(qt Qt6::Core)
  elseif(kind STREQUAL "ui")
    set(qt Qt6::Widgets)
  else()
    message(FATAL_ERROR "ordalvex_library: kind must be core or ui, not ${kind}")
  endif()
  target_link_libraries(${name} PUBLIC ${qt} ${ARG_PUBLIC} PRIVATE ordalvex_options ${ARG_PRIVATE})
endfunction()

# ordalvex_test(<name> SOURCES ... LINKS ...)
# A QtTest executable registered with CTest; widget tests run on the offscreen platform. The
# binary also runs on its own: test_platform picks the offscreen platform when none is set, and
# test_support knows the test data and corpus folders when the environment does not name them.
function(ordalvex_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ordalvex_options Qt6::Test test_support test_platform ${ARG_LINKS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORDALVEX_CORPUS=${ORDALVEX_CORPUS_DIR};ORDALVEX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
    TIMEOUT 600)
  if(ORDALVEX_SANITIZE)
    # Stop at the first error of either sanitizer with a stack; the suppressions name the
    # leaks of the system libraries the tests load (fonts, the platform plugin), not ours.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
      "ASAN_OPTIONS=detect_leaks=1"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/hardening/lsan.supp:print_suppressions=0")
  endif()
endfunction()
