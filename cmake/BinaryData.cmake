# vtr_add_build_tool(<name> <source>): a program that runs at build time to
# make files to embed; it uses the framework's graphics module only.
function(vtr_add_build_tool name source)
    vtr_add_framework_program(${name} ${source} juce::juce_graphics)
endfunction()

# vtr_embed_files(<target> <namespace> <work dir> <files>...): a static library
# that holds the files as binary data, <namespace>::<file name with _ for .>,
# declared in <namespace>.h (the tool names its sources BinaryData<n>.cpp).
# The files may be made at build time: the library is rebuilt when they change
# (juce_add_binary_data() needs them at configure time and does not).
function(vtr_embed_files target namespace work_dir)
    set(files ${ARGN})
    set(code_dir ${work_dir}/JuceLibraryCode)

    set(sources ${code_dir}/${namespace}.h)
    list(LENGTH files file_count)
    foreach(index RANGE 1 ${file_count})
        list(APPEND sources ${code_dir}/BinaryData${index}.cpp)
    endforeach()

    list(JOIN files "\n" file_list)
    file(MAKE_DIRECTORY ${code_dir})
    file(WRITE ${work_dir}/input_file_list "${file_list}\n")

    add_custom_command(OUTPUT ${sources}
        COMMAND juce::juceaide binarydata ${namespace} ${namespace}.h ${code_dir} ${work_dir}/input_file_list
        DEPENDS ${files} ${work_dir}/input_file_list
        COMMENT "Embedding ${namespace}"
        VERBATIM)

    add_library(${target} STATIC ${sources})
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE TRUE)
    target_include_directories(${target} INTERFACE ${code_dir})
endfunction()
