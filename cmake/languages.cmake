# The language files beside the program: each res/NAME.txt (UTF-8, edited by
# hand) is written as NAME.ini (UTF-16LE, CR LF), the form the program reads.
# The host build makes them too, for the test that holds them to English.
set(QUORELL_LANGUAGES English Chinese Russian Ukrainian French German Italian Spanish Portuguese Korean)
set(LANGUAGE_FILES)
foreach(language IN LISTS QUORELL_LANGUAGES)
    set(ini ${CMAKE_BINARY_DIR}/${language}.ini)
    add_custom_command(OUTPUT ${ini}
        COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/make-language-file ${CMAKE_SOURCE_DIR}/res/${language}.txt ${ini}
        DEPENDS ${CMAKE_SOURCE_DIR}/res/${language}.txt ${CMAKE_SOURCE_DIR}/scripts/make-language-file VERBATIM)
    list(APPEND LANGUAGE_FILES ${ini})
endforeach()
add_custom_target(quorell_languages DEPENDS ${LANGUAGE_FILES})
