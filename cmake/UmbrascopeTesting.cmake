find_package(GTest REQUIRED)
include(GoogleTest)

# A GoogleTest executable over the layers it names, labelled "core". Tests
# that touch files make a fresh working directory of their own
# (tests/support/temp_working_dir.h), since the program names its files
# relative to the working directory; CTest starts them all in the build
# folder of their CMakeLists.
#
#   umbrascope_core_test(net_tests LINKS net SOURCES a_test.cpp b_test.cpp)
function(umbrascope_core_test name)
  cmake_parse_arguments(TEST "" "" "LINKS;SOURCES" ${ARGN})
  add_executable(${name} ${TEST_SOURCES})
  target_link_libraries(${name} PRIVATE ${TEST_LINKS} umbrascope_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    PROPERTIES LABELS core
    DISCOVERY_TIMEOUT 60)
endfunction()
