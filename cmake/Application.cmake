# The editor application.
juce_add_gui_app(VantorRilo
    PRODUCT_NAME "Vantor Rilo"
    COMPANY_NAME "ZuvoAudio"
    VERSION "${PROJECT_VERSION}")

target_sources(VantorRilo PRIVATE Source/Main.cpp)
vtr_own_sources(Source/Main.cpp)
target_link_libraries(VantorRilo PRIVATE vtr_app)

# Start-up time and peak memory of the editor against the framework's floor, a
# window built on the GUI modules that any such program needs
# (tools/startup-benchmark.sh); not run by ctest.
vtr_add_framework_program(vtr_bare_window tools/BareWindow.cpp juce::juce_gui_basics)

find_package(X11 REQUIRED)
add_executable(vtr_startup_benchmark tools/StartupBenchmark.cpp)
vtr_own_sources(tools/StartupBenchmark.cpp)
target_include_directories(vtr_startup_benchmark PRIVATE tests/helpers)
target_compile_definitions(vtr_startup_benchmark PRIVATE
    VTR_APP_PATH="$<TARGET_FILE:VantorRilo>"
    VTR_BARE_WINDOW_PATH="$<TARGET_FILE:vtr_bare_window>")
target_link_libraries(vtr_startup_benchmark PRIVATE X11::X11 X11::Xtst)
add_dependencies(vtr_startup_benchmark VantorRilo vtr_bare_window)
