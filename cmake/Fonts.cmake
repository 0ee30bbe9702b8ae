# The editor draws its texts with DejaVu Sans, embedded at build time from the
# distribution's font package (fonts-dejavu-core), so that its look does not
# depend on the fonts installed where it runs (EditorLookAndFeel).
find_file(VTR_DEJAVU_SANS DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH REQUIRED)
find_file(VTR_DEJAVU_SANS_BOLD DejaVuSans-Bold.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH REQUIRED)

vtr_embed_files(vtr_fonts FontData ${CMAKE_CURRENT_BINARY_DIR}/fonts ${VTR_DEJAVU_SANS} ${VTR_DEJAVU_SANS_BOLD})
