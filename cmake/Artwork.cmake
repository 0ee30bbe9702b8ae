# The pictures of the unit are drawn from source at build time and embedded
# as binary data: resources/DrawArtwork.cpp writes the five PNG files, and the
# framework's binary-data tool turns them into BinaryData::<name>_png.

vtr_add_build_tool(vtr_draw_artwork resources/DrawArtwork.cpp)

set(VTR_ARTWORK_DIR ${CMAKE_CURRENT_BINARY_DIR}/artwork)
set(VTR_ARTWORK_FILES ZuvoLogo.png vtm_p.png vtx_p.png bg.png bgex.png)
list(TRANSFORM VTR_ARTWORK_FILES PREPEND ${VTR_ARTWORK_DIR}/ OUTPUT_VARIABLE VTR_ARTWORK_PNGS)

add_custom_command(OUTPUT ${VTR_ARTWORK_PNGS}
    COMMAND vtr_draw_artwork ${VTR_ARTWORK_DIR}
    DEPENDS vtr_draw_artwork
    COMMENT "Drawing the artwork"
    VERBATIM)

vtr_embed_files(vtr_artwork BinaryData ${VTR_ARTWORK_DIR} ${VTR_ARTWORK_PNGS})
target_compile_definitions(vtr_artwork INTERFACE JUCE_TARGET_HAS_BINARY_DATA=1)
