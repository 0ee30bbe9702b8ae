# Settings shared by every target of the project.

# The framework definitions, identical in every library so that no two
# translation units see a different JUCE configuration.
set(VTR_JUCE_DEFINITIONS
    JUCE_STANDALONE_APPLICATION=1
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_USE_CURL=0
    JUCE_WEB_BROWSER=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    "VTR_FIRMWARE_SERVER=\"${VTR_FIRMWARE_SERVER}\""
    "VTR_USER_AGENT=\"${PROJECT_NAME}/${PROJECT_VERSION}\"")

# Warnings for the project's own sources only; the framework's own code is
# compiled with the framework's recommended flags.
set(VTR_OWN_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)

if(VTR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Marks the sources of a target that belong to this project, so that they get
# the project's warning flags and the framework's modules do not.
function(vtr_own_sources)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "${VTR_OWN_WARNINGS}")
endfunction()

# vtr_add_framework_program(<name> <source> <framework modules>...): a program
# built on the given framework modules alone, with none of the project's
# libraries and without the framework's download support.
function(vtr_add_framework_program name source)
    add_executable(${name} ${source})
    vtr_own_sources(${source})
    target_compile_definitions(${name} PRIVATE
        JUCE_STANDALONE_APPLICATION=1
        JUCE_USE_CURL=0
        JUCE_WEB_BROWSER=0)
    target_link_libraries(${name} PRIVATE
        ${ARGN}
        juce::juce_recommended_config_flags
        juce::juce_recommended_warning_flags
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endfunction()
