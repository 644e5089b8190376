# The server component's module and the launcher's side of it.
#
# vlmr_tarn_module: the module itself, a shared library of the program's own
# architecture (an ELF shared object, or a DLL in the Windows builds)
# exporting only tarn_ProcessNotifyLib and GetNewInf. On Linux it uses
# libmemcached (with its connection pool, libmemcachedutil) for the Memcached
# cache; the launcher never links it. The Windows module has no Memcached
# client.
file(GLOB module_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/component/module/*.cpp)
foreach(os posix win32)
  if(NOT os STREQUAL VLMR_OS)
    list(FILTER module_sources EXCLUDE REGEX "_${os}\\.cpp$")
  endif()
endforeach()
add_library(vlmr_tarn_module MODULE ${module_sources})
target_include_directories(vlmr_tarn_module PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
if(WIN32)
  target_sources(vlmr_tarn_module PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/component/module/module_exports.def)
  target_link_libraries(vlmr_tarn_module PRIVATE vlmr_platform)
else()
  pkg_check_modules(MEMCACHED REQUIRED IMPORTED_TARGET libmemcached)
  find_library(MEMCACHEDUTIL_LIBRARY memcachedutil REQUIRED)
  target_link_libraries(vlmr_tarn_module PRIVATE vlmr_platform PkgConfig::MEMCACHED ${MEMCACHEDUTIL_LIBRARY})
  set(module_exports ${CMAKE_CURRENT_SOURCE_DIR}/component/module/module_exports.map)
  target_link_options(vlmr_tarn_module PRIVATE
    -Wl,--version-script=${module_exports} -Wl,--as-needed -Wl,--no-undefined -Wl,-Bsymbolic)
  set_target_properties(vlmr_tarn_module PROPERTIES LINK_DEPENDS ${module_exports})
endif()

# The build tool that packs the module into the launcher's layout; it runs on
# the build machine.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(packer ${CMAKE_CURRENT_BINARY_DIR}/packer-host/vlmr_pack_module)
  # The host's own compiler, whatever CC, CXX or toolchain the environment
  # names for the cross build; rebuilt whenever its source changes.
  ExternalProject_Add(vlmr_pack_module_host
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/component/packer
    BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/packer-host
    CMAKE_COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=CXXFLAGS --unset=CMAKE_TOOLCHAIN_FILE
                  ${CMAKE_COMMAND}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${packer})
  set(packer_target vlmr_pack_module_host)
else()
  add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/component/packer ${CMAKE_CURRENT_BINARY_DIR}/packer)
  set(packer $<TARGET_FILE:vlmr_pack_module>)
  set(packer_target vlmr_pack_module)
endif()

# The launcher's side carries the packed module and exports the twelve cache
# functions from every program it is linked into (the object holding them is
# pulled in by name, since nothing in the program calls them).
include(${CMAKE_CURRENT_SOURCE_DIR}/component/embed_module.cmake)
vlmr_embed_module(vlmr_component vlmr_tarn_module "${packer}" ${packer_target})
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol_prefix _)  # C names carry an underscore on 32-bit Windows
  endif()
  target_link_options(vlmr_component INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/component/cache_exports.def
                      -Wl,--undefined=${symbol_prefix}tarn_CacheGet)
else()
  set(cache_exports ${CMAKE_CURRENT_SOURCE_DIR}/component/cache_exports.list)
  target_link_options(vlmr_component INTERFACE
    -Wl,--dynamic-list=${cache_exports} -Wl,--undefined=tarn_CacheGet)
endif()
