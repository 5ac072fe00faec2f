# Fuzz targets (libFuzzer, clang): each tests/fuzz/<name>_fuzz.cpp becomes <name>_fuzz,
# linked with the logic and the simulated device, all built under the sanitizers the
# preset sets (-fsanitize=fuzzer-no-link,address,undefined).
add_library(zarvic_fuzz_device STATIC tests/fuzz/fuzz_device.cpp)
target_link_libraries(zarvic_fuzz_device PUBLIC zarvic_logic zarvic_res_image)
file(GLOB ZARVIC_FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(source ${ZARVIC_FUZZ_SOURCES})
    get_filename_component(target ${source} NAME_WE)
    add_executable(${target} ${source})
    target_compile_options(${target} PRIVATE ${ZARVIC_WARNINGS})
    target_link_libraries(${target} PRIVATE zarvic_fuzz_device)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()
