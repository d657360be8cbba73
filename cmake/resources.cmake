# Icons are drawn as SVG in res/icons and turned into .ico files at build time
# (rsvg-convert renders each size, ImageMagick packs them).
set(RES_OUT ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${RES_OUT})

# res/icons/icons.txt lists "name size..." per line; blank lines and # comments are skipped.
# A size written "size:other" is rendered from other.svg instead of name.svg.
file(STRINGS ${CMAKE_SOURCE_DIR}/res/icons/icons.txt ICON_LINES REGEX "^[a-z0-9_]+ ")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icons/icons.txt)
set(ICON_FILES)
foreach(line IN LISTS ICON_LINES)
    string(REPLACE " " ";" fields "${line}")
    list(POP_FRONT fields name)
    set(svg ${CMAKE_SOURCE_DIR}/res/icons/${name}.svg)
    set(ico ${RES_OUT}/${name}.ico)
    set(svgs)
    set(pngs)
    set(commands)
    foreach(field IN LISTS fields)
        string(REPLACE ":" ";" parts "${field}")
        list(GET parts 0 size)
        set(source ${svg})
        if(field MATCHES ":")
            list(GET parts 1 other)
            set(source ${CMAKE_SOURCE_DIR}/res/icons/${other}.svg)
        endif()
        list(APPEND svgs ${source})
        set(png ${RES_OUT}/png/${name}-${size}.png)
        list(APPEND pngs ${png})
        list(APPEND commands COMMAND rsvg-convert -w ${size} -h ${size} ${source} -o ${png})
    endforeach()
    list(REMOVE_DUPLICATES svgs)
    add_custom_command(OUTPUT ${ico}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${RES_OUT}/png
        ${commands}
        COMMAND convert ${pngs} ${ico}
        DEPENDS ${svgs} VERBATIM)
    list(APPEND ICON_FILES ${ico})
endforeach()

include(cmake/languages.cmake)

# The user manual is kept as Markdown with its pictures beside it
# (docs/manual) and written as Manual.rtf beside the program.
set(MANUAL_RTF ${CMAKE_BINARY_DIR}/Manual.rtf)
set(MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/docs/manual/manual.md)
file(GLOB MANUAL_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.png)
add_custom_command(OUTPUT ${MANUAL_RTF}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/make-manual ${MANUAL_SOURCE} ${MANUAL_RTF} ${PROJECT_VERSION}
    DEPENDS ${MANUAL_SOURCE} ${MANUAL_PICTURES} ${CMAKE_SOURCE_DIR}/scripts/make-manual VERBATIM)

add_custom_target(quorell_resources DEPENDS ${ICON_FILES} ${LANGUAGE_FILES} ${MANUAL_RTF})

configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${RES_OUT}/version.h @ONLY)

set(QUORELL_RC ${CMAKE_SOURCE_DIR}/res/quorell.rc)
set_source_files_properties(${QUORELL_RC} PROPERTIES
    OBJECT_DEPENDS "${ICON_FILES};${CMAKE_SOURCE_DIR}/res/quorell.manifest;${CMAKE_SOURCE_DIR}/res/dialogs_calibration.rc;${CMAKE_SOURCE_DIR}/res/dialogs_preferences.rc;${CMAKE_SOURCE_DIR}/res/dialogs_recording.rc;${CMAKE_SOURCE_DIR}/res/dialogs_small.rc")
set_property(SOURCE ${QUORELL_RC} APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/licences.txt ${RES_OUT}/version.h)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RES_OUT} -I${CMAKE_SOURCE_DIR}/res -I${CMAKE_SOURCE_DIR}")
