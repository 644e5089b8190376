# Builds the files of assets/ into the launcher, so that players copy one
# executable into the game folder. Each file becomes read-only data through the
# assembler's .incbin; a generated table maps file names to the bytes
# (app/embedded_assets.h). Editing an asset rebuilds only that table's object.
function(vlmr_embed_assets target assets_dir)
  file(GLOB assets CONFIGURE_DEPENDS ${assets_dir}/*.png ${assets_dir}/*.gif)
  list(SORT assets)
  # File-scope assembly runs in the text section; it ends back there.
  if(WIN32)
    set(data_section ".section .rdata,\\\"dr\\\"")
    set(back_section ".text")
  else()
    set(data_section ".section .rodata")
    set(back_section ".previous")
  endif()
  set(blobs "")
  set(entries "")
  set(index 0)
  foreach(asset ${assets})
    get_filename_component(name ${asset} NAME)
    set(symbol vlmr_asset_${index})
    # The labels are named as the assembler sees them (no leading underscore
    # on i686 Windows), and stay local to this object.
    string(APPEND blobs
      "asm(\"${data_section}\\n.balign 16\\n${symbol}:\\n.incbin \\\"${asset}\\\"\\n"
      "${symbol}_end:\\n${back_section}\\n\");\n"
      "extern \"C\" const unsigned char ${symbol}[] asm(\"${symbol}\");\n"
      "extern \"C\" const unsigned char ${symbol}_end[] asm(\"${symbol}_end\");\n")
    string(APPEND entries "    {\"${name}\", ${symbol}, ${symbol}_end},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/embedded_assets.cpp)
  file(CONFIGURE OUTPUT ${generated} @ONLY CONTENT
"// Generated from assets/ by embed_assets.cmake; do not edit.
#include \"app/embedded_assets.h\"

#include <cstddef>

${blobs}
namespace vlmr::app {
namespace {
struct Asset {
  const char* name;
  const unsigned char* begin;
  const unsigned char* end;
};
const Asset kAssets[] = {
${entries}};
}  // namespace

std::string_view EmbeddedAsset(std::string_view fileName) {
  for (const Asset& asset : kAssets) {
    if (fileName == asset.name) {
      return {reinterpret_cast<const char*>(asset.begin),
              static_cast<size_t>(asset.end - asset.begin)};
    }
  }
  return {};
}

}  // namespace vlmr::app
")
  set_source_files_properties(${generated} PROPERTIES OBJECT_DEPENDS "${assets}")
  target_sources(${target} PRIVATE ${generated})
endfunction()
