# Fuzz build: the portable core and the host stand-ins of the platform, and
# one libFuzzer program per parser of outside data (tests/fuzz/*_fuzz.cpp).
find_package(Threads REQUIRED)

add_library(quorell_core STATIC ${PORTABLE_SOURCES})
target_include_directories(quorell_core PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB HOST_SUPPORT CONFIGURE_DEPENDS tests/host/support/*.cpp)
add_library(quorell_host_support STATIC ${HOST_SUPPORT})
target_include_directories(quorell_host_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/host)

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(src IN LISTS FUZZ_SOURCES)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src} tests/fuzz/fuzz_support.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/fuzz)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE "$<LINK_GROUP:RESCAN,quorell_core,quorell_host_support>"
                                          Threads::Threads)
endforeach()
