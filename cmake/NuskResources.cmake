# nusk_resources: the fonts, SVG documents and icon outlines, compiled into
# the program as BinaryData (header "BinaryData.h"). The fonts are fetched by
# scripts/fetch-fonts.sh; without them the build stops here.

set(NUSK_FONT_FOLDER "${PROJECT_SOURCE_DIR}/.deps/fonts")
set(NUSK_FONTS
    "${NUSK_FONT_FOLDER}/Montserrat_300Light.ttf"
    "${NUSK_FONT_FOLDER}/Montserrat_400Regular.ttf")

foreach(font IN LISTS NUSK_FONTS)
    if(NOT EXISTS "${font}")
        message(FATAL_ERROR
            "Missing font file ${font}.\n"
            "Run scripts/fetch-fonts.sh (scripts/run.sh and scripts/test.sh do so) to fetch the "
            "Montserrat faces; the program is never built without them.")
    endif()
endforeach()

file(GLOB NUSK_RESOURCE_FILES CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/resources/*.svg"
    "${PROJECT_SOURCE_DIR}/resources/icons/*.path")

juce_add_binary_data(nusk_resources
    NAMESPACE BinaryData
    HEADER_NAME BinaryData.h
    SOURCES ${NUSK_FONTS} ${NUSK_RESOURCE_FILES})
set_target_properties(nusk_resources PROPERTIES POSITION_INDEPENDENT_CODE ON)
