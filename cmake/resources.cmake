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

# English.ini is kept as UTF-8 text (res/English.txt) and written as UTF-16LE
# with CRLF line ends beside the program.
set(ENGLISH_INI ${CMAKE_BINARY_DIR}/English.ini)
add_custom_command(OUTPUT ${ENGLISH_INI}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/make-language-file ${CMAKE_SOURCE_DIR}/res/English.txt ${ENGLISH_INI}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/English.txt ${CMAKE_SOURCE_DIR}/scripts/make-language-file VERBATIM)

add_custom_target(quorell_resources DEPENDS ${ICON_FILES} ${ENGLISH_INI})

set(QUORELL_RC ${CMAKE_SOURCE_DIR}/res/quorell.rc)
set_source_files_properties(${QUORELL_RC} PROPERTIES
    OBJECT_DEPENDS "${ICON_FILES};${CMAKE_SOURCE_DIR}/res/quorell.manifest;${CMAKE_SOURCE_DIR}/res/dialogs_calibration.rc;${CMAKE_SOURCE_DIR}/res/dialogs_preferences.rc;${CMAKE_SOURCE_DIR}/res/dialogs_recording.rc;${CMAKE_SOURCE_DIR}/res/dialogs_small.rc")
set_property(SOURCE ${QUORELL_RC} APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/licences.txt)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RES_OUT} -I${CMAKE_SOURCE_DIR}/res -I${CMAKE_SOURCE_DIR}")
