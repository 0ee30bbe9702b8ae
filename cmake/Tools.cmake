# Benchmarks and fuzz targets: built, never run by ctest.

add_executable(TransferBenchmark tools/TransferBenchmark.cpp)
vtr_own_sources(tools/TransferBenchmark.cpp)
target_link_libraries(TransferBenchmark PRIVATE vtr_core)

# The worst mapping files and catalogues that the editor accepts, and their cost.
add_executable(UntrustedXmlBenchmark tools/UntrustedXmlBenchmark.cpp)
vtr_own_sources(tools/UntrustedXmlBenchmark.cpp)
target_link_libraries(UntrustedXmlBenchmark PRIVATE vtr_core)

# The fuzz targets need clang's libFuzzer; configure them in a build directory
# of their own:
#   cmake -S . -B fuzz-build -DVTR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
#   cmake --build fuzz-build --target FuzzOpenFile
#   fuzz-build/FuzzOpenFile -max_total_time=600 -timeout=5 -dict=tools/FuzzOpenFile.dict fuzz-corpus/
if(VTR_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VTR_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()

    # The mapping core is instrumented too, so that the fuzzer sees its branches.
    set(vtr_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(vtr_core PRIVATE ${vtr_fuzz_flags})

    function(vtr_add_fuzz_target name)
        add_executable(${name} tools/${name}.cpp)
        vtr_own_sources(tools/${name}.cpp)
        target_compile_options(${name} PRIVATE ${vtr_fuzz_flags})
        target_link_libraries(${name} PRIVATE vtr_core)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    endfunction()

    vtr_add_fuzz_target(FuzzOpenFile)
endif()

#------------------------------------------------------------------------------
# Firmware upgrader tools.

# Wall time of a 64 KiB upload into the simulated unit against the protocol's
# own pauses and polls; run it under X: xvfb-run -a <build>/UploadBenchmark
add_executable(UploadBenchmark tools/UploadBenchmark.cpp)
vtr_own_sources(tools/UploadBenchmark.cpp)
target_link_libraries(UploadBenchmark PRIVATE vtr_app)

# The firmware catalogue as the server sends it:
#   fuzz-build/FuzzFirmwareCatalogue -max_total_time=600 fuzz-catalogue-corpus/
if(VTR_FUZZ)
    vtr_add_fuzz_target(FuzzFirmwareCatalogue)
endif()
