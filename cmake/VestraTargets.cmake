# Helpers that keep every folder's CMakeLists to its own sources and arrows.

# vestra_library(name SOURCES ... DEPENDS ...): the static library of one folder.
function(vestra_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# vestra_test(name SOURCES ... DEPENDS ...): one GoogleTest binary, its cases
# found by CTest. Qt tests run offscreen; every test gets a private registry.
function(vestra_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} vestra_test_support GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VESTRA_TEST_BINARY_DIR=${PROJECT_BINARY_DIR}"
               TIMEOUT 300)
endfunction()
