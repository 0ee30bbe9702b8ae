# The pictures of the unit are drawn from source at build time and embedded
# as binary data: resources/DrawArtwork.cpp writes the five PNG files, and the
# framework's binary-data tool turns them into BinaryData::<name>_png.

add_executable(vtr_draw_artwork resources/DrawArtwork.cpp)
vtr_own_sources(resources/DrawArtwork.cpp)
target_compile_definitions(vtr_draw_artwork PRIVATE
    JUCE_STANDALONE_APPLICATION=1
    JUCE_USE_CURL=0
    JUCE_WEB_BROWSER=0)
target_link_libraries(vtr_draw_artwork PRIVATE
    juce::juce_graphics
    juce::juce_recommended_config_flags
    juce::juce_recommended_warning_flags
    juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

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
