# The pictures of the unit are drawn from source at build time and embedded
# as binary data (see resources/).
add_library(vtr_artwork INTERFACE)
