# The packages the Windows build produces: Quorell-<version>-setup.exe (NSIS)
# and Quorell-<version>-portable.zip, both from one staging folder holding
# exactly the shipped files. The test rig is never among them.
find_program(MAKENSIS makensis REQUIRED)
set(PACKAGE_NAME Quorell-${PROJECT_VERSION})
set(PACKAGE_ROOT ${CMAKE_BINARY_DIR}/package)
set(PACKAGE_STAGE ${PACKAGE_ROOT}/Quorell)
set(PACKAGE_SETUP ${CMAKE_BINARY_DIR}/${PACKAGE_NAME}-setup.exe)
set(PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${PACKAGE_NAME}-portable.zip)

# Shipped file → its name in the program folder.
set(SHIPPED_FILES $<TARGET_FILE:Quorell> ${LANGUAGE_FILES} ${MANUAL_RTF} ${CMAKE_SOURCE_DIR}/res/licences.txt)
set(SHIPPED_NAMES Quorell.exe)
foreach(language IN LISTS QUORELL_LANGUAGES)
    list(APPEND SHIPPED_NAMES ${language}.ini)
endforeach()
list(APPEND SHIPPED_NAMES Manual.rtf Licences.txt)
list(LENGTH SHIPPED_FILES file_count)
list(LENGTH SHIPPED_NAMES name_count)
if(NOT file_count EQUAL name_count)
    message(FATAL_ERROR "package.cmake: ${file_count} shipped files but ${name_count} names")
endif()

set(stage_commands)
set(uninstall_lines)
foreach(file name IN ZIP_LISTS SHIPPED_FILES SHIPPED_NAMES)
    list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E copy ${file} ${PACKAGE_STAGE}/${name})
    string(APPEND uninstall_lines "Delete \"$INSTDIR\\${name}\"\n")
endforeach()
file(WRITE ${PACKAGE_ROOT}/uninstall-files.nsh "${uninstall_lines}")

add_custom_command(OUTPUT ${PACKAGE_SETUP} ${PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PACKAGE_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_STAGE}
    ${stage_commands}
    # The build keeps its debug information; users get the program without it.
    COMMAND ${CMAKE_STRIP} --strip-all ${PACKAGE_STAGE}/Quorell.exe
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${PACKAGE_STAGE}
            -DICON=${RES_OUT}/app.ico -DOUTFILE=${PACKAGE_SETUP} ${CMAKE_SOURCE_DIR}/installer/quorell.nsi
    COMMAND ${CMAKE_COMMAND} -E rm -f ${PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PACKAGE_ROOT} ${CMAKE_COMMAND} -E tar cf ${PACKAGE_ZIP} --format=zip Quorell
    DEPENDS Quorell quorell_resources ${SHIPPED_FILES} ${CMAKE_SOURCE_DIR}/installer/quorell.nsi
    VERBATIM)
add_custom_target(quorell_packages ALL DEPENDS ${PACKAGE_SETUP} ${PACKAGE_ZIP})
