# The server component in the Windows build, for now: the module's commands
# are linked into the program and bound in process when the runtime notifies
# the component (server_suite_in_process_win32.cpp), instead of a DLL carried
# LZMA-packed and loaded at start-up as the Linux build does.
file(GLOB component_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/component/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/component/module/*.cpp)
list(FILTER component_sources EXCLUDE REGEX "_posix\\.cpp$")
list(FILTER component_sources EXCLUDE REGEX
     "/(server_suite|component_loader|module_unpacking|cache_exports)\\.cpp$")
add_library(vlmr_component STATIC ${component_sources})
target_include_directories(vlmr_component PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vlmr_component PUBLIC vlmr_runtime)
