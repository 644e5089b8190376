# The server component's module and the launcher's side of it.
#
# vlmr_tarn_module: the module itself, a shared library of the program's own
# architecture exporting only tarn_ProcessNotifyLib and GetNewInf. It uses
# libmemcached (with its connection pool, libmemcachedutil) for the Memcached
# cache; the launcher never links it.
file(GLOB module_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/component/module/*.cpp)
list(FILTER module_sources EXCLUDE REGEX "_win32\\.cpp$")
pkg_check_modules(MEMCACHED REQUIRED IMPORTED_TARGET libmemcached)
find_library(MEMCACHEDUTIL_LIBRARY memcachedutil REQUIRED)
add_library(vlmr_tarn_module MODULE ${module_sources})
target_include_directories(vlmr_tarn_module PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vlmr_tarn_module PRIVATE vlmr_platform PkgConfig::MEMCACHED
                      ${MEMCACHEDUTIL_LIBRARY})
set(module_exports ${CMAKE_CURRENT_SOURCE_DIR}/component/module/module_exports.map)
target_link_options(vlmr_tarn_module PRIVATE
  -Wl,--version-script=${module_exports} -Wl,--as-needed -Wl,--no-undefined -Wl,-Bsymbolic)
set_target_properties(vlmr_tarn_module PROPERTIES LINK_DEPENDS ${module_exports})

# The build tool that packs the module into the launcher's layout.
add_executable(vlmr_pack_module component/packer/pack_module.cpp)
target_include_directories(vlmr_pack_module PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vlmr_pack_module PRIVATE LibLZMA::LibLZMA)

# The launcher's side carries the packed module and exports the twelve cache
# functions from every program it is linked into (the object holding them is
# pulled in by name, since nothing in the program calls them).
include(${CMAKE_CURRENT_SOURCE_DIR}/component/embed_module.cmake)
vlmr_embed_module(vlmr_component vlmr_tarn_module)
set(cache_exports ${CMAKE_CURRENT_SOURCE_DIR}/component/cache_exports.list)
target_link_options(vlmr_component INTERFACE
  -Wl,--dynamic-list=${cache_exports} -Wl,--undefined=tarn_CacheGet)
