# Host build: the portable core, its GoogleTest suite and the benchmarks.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)

# The portable core: no Windows header may be needed to build it.
add_library(quorell_core STATIC ${PORTABLE_SOURCES})
target_include_directories(quorell_core PUBLIC ${CMAKE_SOURCE_DIR})

# Stand-ins for the platform services the portable core calls (clock, locks,
# registry, files, window entry points) so that tests can drive and watch it.
file(GLOB HOST_SUPPORT CONFIGURE_DEPENDS tests/host/support/*.cpp)
add_library(quorell_host_support STATIC ${HOST_SUPPORT})
target_include_directories(quorell_host_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/host)
set(HOST_LIBS "$<LINK_GROUP:RESCAN,quorell_core,quorell_host_support>" Threads::Threads)

file(GLOB HOST_TESTS CONFIGURE_DEPENDS tests/host/*_test.cpp)
if(QUORELL_TSAN)
    # Only the suites where the streaming, recording, stacking and UI threads meet.
    list(FILTER HOST_TESTS INCLUDE REGEX "/(frame_pipeline|recorder|focus_stack)_test\\.cpp$")
endif()
# The rig's depth model (portable) builds the focus stack's test series.
add_executable(host_tests ${HOST_TESTS} tests/rig/rig_depth.cpp)
target_include_directories(host_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/rig)
target_link_libraries(host_tests PRIVATE ${HOST_LIBS} GTest::gtest GTest::gtest_main)
target_compile_definitions(host_tests PRIVATE QUORELL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                              QUORELL_BINARY_DIR="${CMAKE_BINARY_DIR}")
include(cmake/languages.cmake)
add_dependencies(host_tests quorell_languages)
gtest_discover_tests(host_tests PROPERTIES TIMEOUT 120 DISCOVERY_TIMEOUT 60)

# Benchmarks only in the plain build (scripts/bench's): figures taken under a
# sanitizer would say nothing.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/*_bench.cpp)
if(BENCH_SOURCES AND NOT QUORELL_TSAN AND NOT QUORELL_SANITIZE)
    add_executable(host_bench ${BENCH_SOURCES})
    target_link_libraries(host_bench PRIVATE ${HOST_LIBS} benchmark::benchmark benchmark::benchmark_main)
endif()
