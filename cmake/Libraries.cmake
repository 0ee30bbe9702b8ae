# Two libraries carry the framework's modules: the mapping core (no GUI),
# which the core tests link, and the application library (everything but
# Main.cpp), which the editor and the GUI and firmware tests link. An
# executable links exactly one of them, so no framework module is compiled
# into it twice.

set(VTR_CORE_SOURCES
    Source/Shared.cpp
    Source/Arrays.cpp
    Source/Defa.cpp
    Source/ControllerMap.cpp
    Source/LoadedMapCheck.cpp
    Source/VtrPlus.cpp
    Source/VerifiedFileWrite.cpp
    Source/MappingTransfer.cpp
    modules/include_midi_ports.cpp
    modules/include_zuvo_core.cpp)

file(GLOB VTR_ALL_APP_SOURCES CONFIGURE_DEPENDS Source/*.cpp)
list(REMOVE_ITEM VTR_ALL_APP_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/Source/Main.cpp)
foreach(core_source IN LISTS VTR_CORE_SOURCES)
    list(REMOVE_ITEM VTR_ALL_APP_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${core_source})
endforeach()
set(VTR_GUI_SOURCES ${VTR_ALL_APP_SOURCES} modules/include_zuvo_firmware.cpp modules/include_zuvo_firmware_x11.cpp)

# The firmware server's transfers go through libcurl's own interface, which
# the upgrader loads when its first request begins: only its headers are used
# at build time, and no program links the library.
find_package(CURL REQUIRED)

set(VTR_CORE_MODULES
    juce::juce_core
    juce::juce_events
    juce::juce_data_structures
    juce::juce_audio_basics
    juce::juce_audio_devices)

set(VTR_APP_MODULES
    ${VTR_CORE_MODULES}
    juce::juce_graphics
    juce::juce_gui_basics)

function(vtr_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;MODULES;LIBRARIES" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    vtr_own_sources(${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE TRUE)
    target_include_directories(${name} PUBLIC Source modules)
    target_compile_definitions(${name} PUBLIC ${VTR_JUCE_DEFINITIONS})
    target_link_libraries(${name}
        PRIVATE
            ${ARG_MODULES}
            ${ARG_LIBRARIES}
            juce::juce_recommended_config_flags
            juce::juce_recommended_warning_flags
            ${CMAKE_DL_LIBS})
    target_include_directories(${name} PRIVATE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>)
    # Re-export what the framework's modules give their users, so that code
    # linking this library can include the framework headers.
    target_include_directories(${name} INTERFACE $<TARGET_PROPERTY:${name},INCLUDE_DIRECTORIES>)
    target_compile_definitions(${name} INTERFACE $<TARGET_PROPERTY:${name},COMPILE_DEFINITIONS>)
endfunction()

vtr_add_library(vtr_core
    SOURCES ${VTR_CORE_SOURCES}
    MODULES ${VTR_CORE_MODULES})

vtr_add_library(vtr_app
    SOURCES ${VTR_CORE_SOURCES} ${VTR_GUI_SOURCES}
    MODULES ${VTR_APP_MODULES}
    LIBRARIES vtr_artwork vtr_fonts)
target_link_libraries(vtr_app PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
