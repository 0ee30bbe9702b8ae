# The editor draws its texts with DejaVu Sans from the distribution's font
# package (fonts-dejavu-core), turned at build time into the framework's own
# typeface format and embedded (EditorLookAndFeel): its look does not depend
# on the fonts installed where it runs, and it reads no font file at start.

vtr_add_build_tool(vtr_serialise_typeface resources/SerialiseTypeface.cpp)

set(VTR_FONTS_DIR ${CMAKE_CURRENT_BINARY_DIR}/fonts)
set(VTR_TYPEFACES)

foreach(font DejaVuSans DejaVuSans-Bold)
    find_file(VTR_FONT_${font} ${font}.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH REQUIRED)
    set(typeface ${VTR_FONTS_DIR}/${font}.typeface)

    add_custom_command(OUTPUT ${typeface}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VTR_FONTS_DIR}
        COMMAND vtr_serialise_typeface ${VTR_FONT_${font}} ${typeface}
        DEPENDS vtr_serialise_typeface ${VTR_FONT_${font}}
        COMMENT "Serialising ${font}"
        VERBATIM)

    list(APPEND VTR_TYPEFACES ${typeface})
endforeach()

vtr_embed_files(vtr_fonts FontData ${VTR_FONTS_DIR} ${VTR_TYPEFACES})
