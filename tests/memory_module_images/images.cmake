# The in-memory loader's test images, built with a MinGW-w64 compiler into
# memory-module-images/ beside the test programs:
#   image-<machine>.dll     test_image.c without a C runtime (preferred base 0x10000000),
#                           stripped, so that the last section ends the file
#   refusing-<machine>.dll  the same, its entry point refusing the attach
#   throwing-<machine>.dll  a C++ DLL with its runtimes (only when a C++ compiler is given)
# vlmr_memory_module_images(TEST_TARGET MACHINE C_COMPILER [CXX_COMPILER])
function(vlmr_memory_module_images test machine cc)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/memory-module-images)
  set(src ${CMAKE_CURRENT_SOURCE_DIR}/memory_module_images)
  if(machine STREQUAL "i386")
    set(entry _DllMain@12)  # stdcall decoration on 32-bit Windows
  else()
    set(entry DllMain)
  endif()
  set(flags -O1 -s -shared -nostdlib -e ${entry} -Wl,--image-base,0x10000000 -Wl,--enable-stdcall-fixup)
  set(inputs ${src}/test_image.c ${src}/test_image.def)
  set(outputs ${dir}/image-${machine}.dll ${dir}/refusing-${machine}.dll)
  set(commands
    COMMAND ${cc} ${flags} ${inputs} -lkernel32 -o ${dir}/image-${machine}.dll
    COMMAND ${cc} ${flags} -DREFUSE_ATTACH ${inputs} -lkernel32 -o ${dir}/refusing-${machine}.dll)
  if(ARGC GREATER 3)
    list(APPEND outputs ${dir}/throwing-${machine}.dll)
    list(APPEND commands COMMAND ${ARGV3} -O1 -shared -static -static-libgcc -static-libstdc++
         ${src}/throwing_image.cpp -o ${dir}/throwing-${machine}.dll)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    ${commands}
    DEPENDS ${inputs} ${src}/throwing_image.cpp VERBATIM)
  add_custom_target(${test}_images_${machine} DEPENDS ${outputs})
  add_dependencies(${test} ${test}_images_${machine})
endfunction()
