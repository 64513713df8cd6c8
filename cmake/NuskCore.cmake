# nusk_core: one static library with the JUCE modules and all of the program's
# own code. The app and the test runner link it, so JUCE compiles once.

set(NUSK_JUCE_MODULES
    juce::juce_core
    juce::juce_events
    juce::juce_data_structures
    juce::juce_graphics
    juce::juce_gui_basics
    juce::juce_audio_basics
    juce::juce_audio_devices
    juce::juce_audio_utils)

file(GLOB_RECURSE NUSK_CORE_SOURCES CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/app/*.cpp"
    "${PROJECT_SOURCE_DIR}/editor/*.cpp"
    "${PROJECT_SOURCE_DIR}/presets/*.cpp")
list(FILTER NUSK_CORE_SOURCES EXCLUDE REGEX "/app/Main\\.cpp$")

add_library(nusk_core STATIC ${NUSK_CORE_SOURCES})

# Preset files are read with expat (Debian: libexpat1-dev).
find_package(EXPAT REQUIRED)

# The module targets are interface libraries that carry their sources: linked
# privately, the modules compile into this library only, while their include
# paths and definitions are passed on to whoever links nusk_core.
target_link_libraries(nusk_core
    PRIVATE
        ${NUSK_JUCE_MODULES}
        EXPAT::EXPAT
    PUBLIC
        nusk_resources
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS
        juce::juce_recommended_config_flags
        juce::juce_recommended_warning_flags)

target_include_directories(nusk_core PUBLIC "${PROJECT_SOURCE_DIR}")
foreach(module IN LISTS NUSK_JUCE_MODULES)
    target_include_directories(nusk_core INTERFACE
        $<TARGET_PROPERTY:${module},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(nusk_core INTERFACE
        $<TARGET_PROPERTY:${module},INTERFACE_COMPILE_DEFINITIONS>)
endforeach()

set(NUSK_CORE_DEFINITIONS
    JUCE_USE_OGGVORBIS=0
    JUCE_USE_FLAC=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_STANDALONE_APPLICATION=1
    # Debug builds would print JUCE's version on standard error at every start,
    # ahead of the program's own one-line messages.
    JUCE_DISABLE_JUCE_VERSION_PRINTING=1)
target_compile_definitions(nusk_core PUBLIC ${NUSK_CORE_DEFINITIONS})

set_target_properties(nusk_core PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The start-up check opens the X display itself before JUCE (which loads
# libX11 at run time) builds any window.
find_package(X11 REQUIRED)
target_link_libraries(nusk_core PRIVATE X11::X11)
