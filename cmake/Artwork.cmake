# The pictures of the unit are drawn from source at build time and embedded
# as binary data: resources/DrawArtwork.cpp writes the five PNG files, and the
# framework's binary-data tool turns them into BinaryData::<name>_png.
#
# juce_add_binary_data() needs its files at configure time and does not
# rebuild when they change, so its command is spelt out here, depending on
# the drawn files.

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
set(VTR_ARTWORK_CODE_DIR ${VTR_ARTWORK_DIR}/JuceLibraryCode)
set(VTR_ARTWORK_FILES ZuvoLogo.png vtm_p.png vtx_p.png bg.png bgex.png)
list(TRANSFORM VTR_ARTWORK_FILES PREPEND ${VTR_ARTWORK_DIR}/ OUTPUT_VARIABLE VTR_ARTWORK_PNGS)

add_custom_command(OUTPUT ${VTR_ARTWORK_PNGS}
    COMMAND vtr_draw_artwork ${VTR_ARTWORK_DIR}
    DEPENDS vtr_draw_artwork
    COMMENT "Drawing the artwork"
    VERBATIM)

set(VTR_ARTWORK_SOURCES ${VTR_ARTWORK_CODE_DIR}/BinaryData.h)
list(LENGTH VTR_ARTWORK_FILES artwork_count)
foreach(index RANGE 1 ${artwork_count})
    list(APPEND VTR_ARTWORK_SOURCES ${VTR_ARTWORK_CODE_DIR}/BinaryData${index}.cpp)
endforeach()

list(JOIN VTR_ARTWORK_PNGS "\n" artwork_list)
file(MAKE_DIRECTORY ${VTR_ARTWORK_CODE_DIR})
file(WRITE ${VTR_ARTWORK_DIR}/input_file_list "${artwork_list}\n")

add_custom_command(OUTPUT ${VTR_ARTWORK_SOURCES}
    COMMAND juce::juceaide binarydata BinaryData BinaryData.h ${VTR_ARTWORK_CODE_DIR} ${VTR_ARTWORK_DIR}/input_file_list
    DEPENDS ${VTR_ARTWORK_PNGS} ${VTR_ARTWORK_DIR}/input_file_list
    COMMENT "Embedding the artwork"
    VERBATIM)

add_library(vtr_artwork STATIC ${VTR_ARTWORK_SOURCES})
set_target_properties(vtr_artwork PROPERTIES POSITION_INDEPENDENT_CODE TRUE)
target_include_directories(vtr_artwork INTERFACE ${VTR_ARTWORK_CODE_DIR})
target_compile_definitions(vtr_artwork INTERFACE JUCE_TARGET_HAS_BINARY_DATA=1)
