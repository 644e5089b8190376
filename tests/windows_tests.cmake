# The Windows suites: every layer below the window, run under Wine, one CTest
# test per suite. Their HTTP tests talk to servers that the Linux build's
# http_test_service makes on request (HttpTestServer on Windows is its
# client); scripts/run_windows_suite.sh starts that service for each suite.
set(VLMR_HTTP_TEST_SERVICE "" CACHE FILEPATH
    "the Linux build's tests/http_test_service, for the Windows suites' HTTP tests")

# CorvaneQXT.EXE: the stand-in client the launch tests start. It writes the
# command line it was given and its working directory beside itself.
add_executable(stand_in_client stand_in_client/stand_in_client_win32.cpp)
target_link_options(stand_in_client PRIVATE -municode)
set_target_properties(stand_in_client PROPERTIES OUTPUT_NAME CorvaneQXT SUFFIX .EXE
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

foreach(suite platform runtime settings update launch component skin)
  set(library vlmr_${suite})
  vlmr_test_suite(${suite}_tests ${suite} ${library})
  set_target_properties(${suite}_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${suite}_tests PROPERTIES ENVIRONMENT "VLMR_HTTP_TEST_SERVICE=${VLMR_HTTP_TEST_SERVICE}")
endforeach()
add_dependencies(launch_tests stand_in_client)
target_link_libraries(skin_tests PRIVATE gdiplus shlwapi)  # the tests' pictures
# The control logic the toolkit DLL is built from, for its own tests.
target_sources(skin_tests PRIVATE ${PROJECT_SOURCE_DIR}/src/skin/control.cpp
               ${PROJECT_SOURCE_DIR}/src/skin/paint_choices.cpp)
# The in-memory loader's test images, of this build's own machine.
include(${CMAKE_CURRENT_SOURCE_DIR}/memory_module_images/images.cmake)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  vlmr_memory_module_images(platform_tests amd64 ${CMAKE_C_COMPILER} ${CMAKE_CXX_COMPILER})
else()
  vlmr_memory_module_images(platform_tests i386 ${CMAKE_C_COMPILER} ${CMAKE_CXX_COMPILER})
endif()
target_link_libraries(vlmr_test_support PUBLIC wininet)
