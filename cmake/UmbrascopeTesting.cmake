find_package(GTest REQUIRED)
include(GoogleTest)

# A GoogleTest executable over the core, labelled "core". Each test runs with
# its own fresh working directory under the build tree, because the program
# names its files relative to the working directory.
function(umbrascope_core_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE umbrascope_core umbrascope_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    PROPERTIES LABELS core
    DISCOVERY_TIMEOUT 60)
endfunction()
