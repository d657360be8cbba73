# OpenH264 and a minimal LGPL FFmpeg (H.264 through OpenH264 and WMV2, in MP4
# and ASF files) for the fallback video writer, cross-built static from
# Debian's source packages once into the build tree. Sets AV_INCLUDE and
# AV_LIBRARIES.
#
# The folder's name is a hash of the build options and of the Debian package
# versions: a change of either builds afresh in a new folder instead of
# linking a stale build, and the folders of older keys are removed.

set(OPENH264_MAKE_OPTIONS OS=mingw_nt ARCH=x86_64 CC=${CMAKE_C_COMPILER} CXX=${CMAKE_CXX_COMPILER}
    AR=${CMAKE_AR})
# Only what the writer uses, nothing GPL or nonfree. --disable-autodetect also
# drops threads, hence w32threads; the ASF muxer needs the demuxer's shared
# GUID tables (ff_asf_*), which only its demuxer builds.
set(FFMPEG_OPTIONS
    --enable-cross-compile --target-os=mingw32 --arch=x86_64 --cross-prefix=x86_64-w64-mingw32-
    --cc=${CMAKE_C_COMPILER} --cxx=${CMAKE_CXX_COMPILER}
    --pkg-config=pkg-config --pkg-config-flags=--static
    --enable-static --disable-shared --disable-programs --disable-doc --disable-network
    --disable-autodetect --enable-w32threads --disable-everything
    --disable-avdevice --disable-avfilter --disable-swresample --disable-postproc
    --enable-libopenh264 --enable-encoder=libopenh264,wmv2
    --enable-muxer=mp4,asf --enable-demuxer=asf --enable-protocol=file)

# The candidate versions of the binary packages built from the two sources,
# which are the versions scripts/apt-source fetches.
set(AV_VERSIONS)
foreach(package libopenh264-dev ffmpeg)
    execute_process(COMMAND apt-cache policy ${package} OUTPUT_VARIABLE policy ERROR_QUIET)
    string(REGEX MATCH "Candidate: ([^\n]+)" found "${policy}")
    list(APPEND AV_VERSIONS "${package}=${CMAKE_MATCH_1}")
endforeach()
string(SHA1 AV_KEY "${OPENH264_MAKE_OPTIONS};${FFMPEG_OPTIONS};${AV_VERSIONS}")
string(SUBSTRING ${AV_KEY} 0 12 AV_KEY)
set(AV_ROOT ${CMAKE_BINARY_DIR}/deps/av-${AV_KEY})
file(GLOB AV_OLD_ROOTS LIST_DIRECTORIES true ${CMAKE_BINARY_DIR}/deps/av-*)
list(REMOVE_ITEM AV_OLD_ROOTS ${AV_ROOT})
if(AV_OLD_ROOTS)
    message(STATUS "FFmpeg build options or Debian versions changed: removing ${AV_OLD_ROOTS}")
    file(REMOVE_RECURSE ${AV_OLD_ROOTS})
endif()
set(AV_PREFIX ${AV_ROOT}/install)

# Debian's patch writes version_gen.h relative to the current folder, so
# OpenH264 builds inside its fetched tree.
ExternalProject_Add(openh264_build
    PREFIX ${AV_ROOT}/openh264
    SOURCE_DIR ${AV_ROOT}/openh264/source/src
    DOWNLOAD_COMMAND ${CMAKE_SOURCE_DIR}/scripts/apt-source openh264 ${AV_ROOT}/openh264/source
    UPDATE_COMMAND ""
    CONFIGURE_COMMAND ""
    BUILD_IN_SOURCE ON
    BUILD_COMMAND make -j2 ${OPENH264_MAKE_OPTIONS} libopenh264.a
    INSTALL_COMMAND make ${OPENH264_MAKE_OPTIONS} PREFIX=${AV_PREFIX} install-static
    LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON
    BUILD_BYPRODUCTS ${AV_PREFIX}/lib/libopenh264.a)

# PKG_CONFIG_LIBDIR: OpenH264's .pc, not Debian's MinGW pkg-config.
ExternalProject_Add(ffmpeg_build
    PREFIX ${AV_ROOT}/ffmpeg
    SOURCE_DIR ${AV_ROOT}/ffmpeg/source/src
    BINARY_DIR ${AV_ROOT}/ffmpeg/build
    DOWNLOAD_COMMAND ${CMAKE_SOURCE_DIR}/scripts/apt-source ffmpeg ${AV_ROOT}/ffmpeg/source
    UPDATE_COMMAND ""
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_LIBDIR=${AV_PREFIX}/lib/pkgconfig
        <SOURCE_DIR>/configure --prefix=${AV_PREFIX} ${FFMPEG_OPTIONS}
    BUILD_COMMAND make -j2
    INSTALL_COMMAND make install
    DEPENDS openh264_build
    LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON
    BUILD_BYPRODUCTS ${AV_PREFIX}/lib/libavformat.a ${AV_PREFIX}/lib/libavcodec.a
                     ${AV_PREFIX}/lib/libswscale.a ${AV_PREFIX}/lib/libavutil.a)

file(MAKE_DIRECTORY ${AV_PREFIX}/include)
set(AV_INCLUDE ${AV_PREFIX}/include)
set(AV_LIBRARIES)
foreach(lib avformat avcodec swscale avutil openh264)
    list(APPEND AV_LIBRARIES ${AV_PREFIX}/lib/lib${lib}.a)
endforeach()
