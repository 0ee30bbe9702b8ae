# The editor application.
juce_add_gui_app(VantorRilo
    PRODUCT_NAME "Vantor Rilo"
    COMPANY_NAME "ZuvoAudio"
    VERSION "${PROJECT_VERSION}")

target_sources(VantorRilo PRIVATE Source/Main.cpp)
vtr_own_sources(Source/Main.cpp)
target_link_libraries(VantorRilo PRIVATE vtr_app)
