# The simulated Handheld PC: the program's logic and its tests, native on this host.
enable_testing()
if(ZARVIC_GTEST_SOURCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ZARVIC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

file(GLOB ZARVIC_SIM_SOURCES CONFIGURE_DEPENDS platform/sim/*.cpp)
# The project's operations that are the device's plain calls, as on the device.
list(APPEND ZARVIC_SIM_SOURCES platform/device_operations.cpp)
add_library(zarvic_sim STATIC ${ZARVIC_SIM_SOURCES})
target_include_directories(zarvic_sim PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(zarvic_sim PRIVATE ${ZARVIC_WARNINGS})
find_package(Threads REQUIRED)
target_link_libraries(zarvic_sim PUBLIC Threads::Threads)

add_library(zarvic_logic STATIC ${ZARVIC_LOGIC_SOURCES})
target_include_directories(zarvic_logic PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(zarvic_logic PRIVATE ${ZARVIC_LOGIC_WARNINGS})
target_link_libraries(zarvic_logic PUBLIC zarvic_sim)

set(ZARVIC_RES_CPP ${CMAKE_BINARY_DIR}/zarvic_res_image.cpp)
add_custom_command(
    OUTPUT ${ZARVIC_RES_CPP}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${ZARVIC_RES} -DOUTPUT=${ZARVIC_RES_CPP} -DSYMBOL=kZarvicResources
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    DEPENDS ${ZARVIC_RES} ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    COMMENT "Embedding the compiled resources for the simulated device")
add_library(zarvic_res_image STATIC ${ZARVIC_RES_CPP})

if(ZARVIC_FUZZ)
    include(cmake/fuzz.cmake)
    return()
endif()

# tests/sim/device/: the simulated device's own tests, which run no part of Zarvic.
file(GLOB ZARVIC_TEST_SOURCES CONFIGURE_DEPENDS tests/sim/*.cpp tests/sim/device/*.cpp)
add_executable(zarvic_tests ${ZARVIC_TEST_SOURCES})
target_include_directories(zarvic_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/sim)
target_compile_options(zarvic_tests PRIVATE ${ZARVIC_WARNINGS})
target_link_libraries(zarvic_tests PRIVATE zarvic_logic zarvic_res_image GTest::gtest GTest::gtest_main)
# Each test runs in a process of its own: the program's state is process-wide, as on the device.
gtest_discover_tests(zarvic_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)

# Instruction-count programs, one per area (tests/bench/bench_AREA.cpp -> zarvic_bench_AREA),
# run under callgrind by scripts/bench.sh. They are built with everything else so that they
# keep compiling.
file(GLOB ZARVIC_BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/bench_*.cpp)
foreach(bench_source ${ZARVIC_BENCH_SOURCES})
    get_filename_component(bench_name ${bench_source} NAME_WE)
    string(REGEX REPLACE "^bench_" "" bench_area ${bench_name})
    add_executable(zarvic_bench_${bench_area} ${bench_source})
    target_compile_options(zarvic_bench_${bench_area} PRIVATE ${ZARVIC_WARNINGS})
    target_link_libraries(zarvic_bench_${bench_area} PRIVATE zarvic_logic zarvic_res_image)
endforeach()
