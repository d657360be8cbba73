# Windows build: Quorell.exe, the test rig and the Win32 tests run under Wine.
include(ExternalProject)
include(GoogleTest)

set(WIN_DEFINITIONS UNICODE _UNICODE __USE_MINGW_ANSI_STDIO=1 _WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX)
set(WIN_LINK_OPTIONS -static -municode)

if(CMAKE_CROSSCOMPILING)
    # libxlsxwriter from Debian's source package, cross-built once into the build tree.
    set(XLSX_ROOT ${CMAKE_BINARY_DIR}/deps/xlsxwriter)
    ExternalProject_Add(xlsxwriter_build
        PREFIX ${XLSX_ROOT}
        SOURCE_DIR ${XLSX_ROOT}/source/src
        DOWNLOAD_COMMAND ${CMAKE_SOURCE_DIR}/scripts/apt-source libxlsxwriter ${XLSX_ROOT}/source
        UPDATE_COMMAND ""
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                   -DCMAKE_BUILD_TYPE=Release
                   -DCMAKE_INSTALL_PREFIX=${XLSX_ROOT}/install
                   -DBUILD_SHARED_LIBS=OFF
                   -DUSE_SYSTEM_MINIZIP=OFF -DUSE_STANDARD_TMPFILE=OFF
                   -DUSE_OPENSSL_MD5=OFF -DUSE_NO_MD5=OFF
                   -DZLIB_USE_STATIC_LIBS=ON
                   -DCMAKE_C_FLAGS=-w
        BUILD_BYPRODUCTS ${XLSX_ROOT}/install/lib/libxlsxwriter.a)
    file(MAKE_DIRECTORY ${XLSX_ROOT}/install/include)
    set(XLSX_LIBRARY ${XLSX_ROOT}/install/lib/libxlsxwriter.a)
    set(XLSX_INCLUDE ${XLSX_ROOT}/install/include)
else()
    # A native MinGW build (MSYS2) uses the installed package.
    find_library(XLSX_LIBRARY NAMES libxlsxwriter.a xlsxwriter REQUIRED)
    find_path(XLSX_INCLUDE xlsxwriter.h REQUIRED)
endif()
if(CMAKE_CROSSCOMPILING)
    include(cmake/ffmpeg.cmake)
else()
    find_path(AV_INCLUDE libavformat/avformat.h REQUIRED)
    set(AV_LIBRARIES)
    foreach(lib avformat avcodec swscale avutil openh264)
        find_library(AV_LIB_${lib} NAMES lib${lib}.a REQUIRED)
        list(APPEND AV_LIBRARIES ${AV_LIB_${lib}})
    endforeach()
endif()
# In the order they need each other; avutil seeds its random numbers through bcrypt.
add_library(ffmpeg INTERFACE)
target_include_directories(ffmpeg INTERFACE ${AV_INCLUDE})
target_link_libraries(ffmpeg INTERFACE ${AV_LIBRARIES} bcrypt)
if(TARGET ffmpeg_build)
    add_dependencies(ffmpeg ffmpeg_build)
endif()
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
add_library(xlsxwriter STATIC IMPORTED)
set_target_properties(xlsxwriter PROPERTIES
    IMPORTED_LOCATION ${XLSX_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${XLSX_INCLUDE}
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
if(TARGET xlsxwriter_build)
    add_dependencies(xlsxwriter xlsxwriter_build)
endif()

# Media Foundation's DLLs are loaded at run time (record/mf_runtime_win.cpp);
# only its GUIDs (mfuuid, static data) are linked.
set(WIN_SYSTEM_LIBS gdiplus comctl32 comdlg32 ole32 oleaut32 uuid strmiids quartz
    mfuuid winmm shlwapi shell32 version user32 gdi32 advapi32 setupapi ksguid)

# GCC cannot align the Win64 stack beyond 16 bytes; should it ever spill a
# 256- or 512-bit register of the vector effect loops there, unaligned moves
# keep that safe.
set_source_files_properties(capture/effect_kernels_x86.cpp PROPERTIES
    COMPILE_OPTIONS -Wa,-muse-unaligned-vector-move)

# Everything but the entry point, so that the Wine tests link the real program.
add_library(quorell_program STATIC ${PORTABLE_SOURCES} ${WIN32_SOURCES})
target_include_directories(quorell_program PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(quorell_program PUBLIC ${WIN_DEFINITIONS})
target_link_libraries(quorell_program PUBLIC xlsxwriter ffmpeg ${WIN_SYSTEM_LIBS})

include(cmake/resources.cmake)

add_executable(Quorell WIN32 app/winmain_win.cpp ${QUORELL_RC})
target_link_libraries(Quorell PRIVATE quorell_program)
target_link_options(Quorell PRIVATE ${WIN_LINK_OPTIONS})
add_dependencies(Quorell quorell_resources)

# GoogleTest cross-built from the sources Debian installs (or, natively, the
# installed package).
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
    add_library(gtest ALIAS GTest::gtest)
endif()

add_subdirectory(tests/rig)
include(cmake/winetests.cmake)
