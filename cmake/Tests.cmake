# One test executable per test source file, so that each area's tests build
# and fail on their own. tests/core links the mapping core only (no window);
# tests/gui and tests/firmware link the application library and run under X.
#
# Shared test helpers: tests/helpers/common (no GUI, used by every area) and
# tests/helpers/gui (used by the gui and firmware areas).
include(GoogleTest)
find_package(GTest REQUIRED)
find_package(X11 REQUIRED)
enable_testing()

file(GLOB VTR_COMMON_TEST_HELPERS CONFIGURE_DEPENDS tests/helpers/common/*.cpp)
file(GLOB VTR_GUI_TEST_HELPERS CONFIGURE_DEPENDS tests/helpers/gui/*.cpp)

function(vtr_add_test_support name main_library)
    add_library(${name} STATIC ${ARGN})
    vtr_own_sources(${ARGN})
    target_include_directories(${name} PUBLIC tests/helpers)
    # Where the helpers find the scripts beside them (the loopback HTTPS server).
    target_compile_definitions(${name} PRIVATE VTR_TEST_HELPERS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/helpers")
    target_link_libraries(${name} PUBLIC ${main_library} GTest::gtest)
endfunction()

vtr_add_test_support(vtr_test_support_core vtr_core
    tests/helpers/CoreTestMain.cpp ${VTR_COMMON_TEST_HELPERS})
vtr_add_test_support(vtr_test_support_gui vtr_app
    tests/helpers/GuiTestMain.cpp ${VTR_COMMON_TEST_HELPERS} ${VTR_GUI_TEST_HELPERS})
target_link_libraries(vtr_test_support_gui PUBLIC X11::X11 X11::Xtst)

function(vtr_add_tests area support_library)
    file(GLOB test_sources CONFIGURE_DEPENDS tests/${area}/*Test.cpp tests/${area}/*Tests.cpp)
    foreach(test_source IN LISTS test_sources)
        get_filename_component(test_name ${test_source} NAME_WE)
        add_executable(${test_name} ${test_source})
        vtr_own_sources(${test_source})
        target_link_libraries(${test_name} PRIVATE ${support_library})
        gtest_discover_tests(${test_name}
            DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS ${area})
    endforeach()
endfunction()

vtr_add_tests(core vtr_test_support_core)
vtr_add_tests(gui vtr_test_support_gui)
vtr_add_tests(firmware vtr_test_support_gui)

# Name look-ups that hang as they do when the name server does not answer:
# linked into the tests of downloads, and preloaded into the editor that the
# quit test starts.
add_library(vtr_hanging_lookup SHARED tests/helpers/lookup/HangingLookup.cpp)
vtr_own_sources(tests/helpers/lookup/HangingLookup.cpp)
target_link_libraries(vtr_hanging_lookup PRIVATE ${CMAKE_DL_LIBS})

foreach(test_name FirmwareDownloadTest WizardOnlineTest QuitDuringDownloadTest)
    target_link_libraries(${test_name} PRIVATE vtr_hanging_lookup)
endforeach()
target_compile_definitions(QuitDuringDownloadTest PRIVATE VTR_HANGING_LOOKUP_PATH="$<TARGET_FILE:vtr_hanging_lookup>")

# These tests start the editor itself as separate processes.
foreach(test_name AppShellTest DesktopTest QuitDuringDownloadTest)
    target_compile_definitions(${test_name} PRIVATE VTR_APP_PATH="$<TARGET_FILE:VantorRilo>")
    add_dependencies(${test_name} VantorRilo)
endforeach()

# Mapping files that an earlier editor saved, and what it sent of them.
target_compile_definitions(JogZoomStatesTest PRIVATE
    VTR_EARLIER_EDITOR_FILES="${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/earlier-editor")
