# Real Windows: a self-contained GUI executable built with mingw-w64.
file(GLOB ZARVIC_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)

set(ZARVIC_RES_OBJECT ${CMAKE_BINARY_DIR}/zarvic_res.o)
add_custom_command(
    OUTPUT ${ZARVIC_RES_OBJECT}
    COMMAND ${CMAKE_RC_COMPILER} --input-format=res --output-format=coff
            ${ZARVIC_RES} -o ${ZARVIC_RES_OBJECT}
    DEPENDS ${ZARVIC_RES}
    COMMENT "Linking resources into an object")

# The desktop's own resources, beside the shared image: the application manifest.
set(ZARVIC_DESKTOP_RES_OBJECT ${CMAKE_BINARY_DIR}/zarvic_desktop_res.o)
add_custom_command(
    OUTPUT ${ZARVIC_DESKTOP_RES_OBJECT}
    COMMAND ${CMAKE_RC_COMPILER} --input-format=rc --output-format=coff -c 65001
            -I ${CMAKE_SOURCE_DIR}/resources ${CMAKE_SOURCE_DIR}/resources/zarvic_desktop.rc
            -o ${ZARVIC_DESKTOP_RES_OBJECT}
    DEPENDS resources/zarvic_desktop.rc resources/zarvic.manifest
    COMMENT "Compiling the desktop's manifest")

add_executable(zarvic WIN32 ${ZARVIC_LOGIC_SOURCES} ${ZARVIC_WIN32_SOURCES} ${ZARVIC_RES_OBJECT}
                            ${ZARVIC_DESKTOP_RES_OBJECT})
set_target_properties(zarvic PROPERTIES OUTPUT_NAME Zarvic)
target_include_directories(zarvic PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(zarvic PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(zarvic PRIVATE ${ZARVIC_WARNINGS})
# No link time in the PE header: the same tree links to the same bytes (scripts/package.sh).
target_link_options(zarvic PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
target_link_libraries(zarvic PRIVATE shell32 ole32 uuid user32 gdi32 advapi32 imm32)
# The help file lies beside the executable, where the tray menu's Help looks for it.
add_custom_command(TARGET zarvic POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/Zarvic.htm
            $<TARGET_FILE_DIR:zarvic>/Zarvic.htm
    COMMENT "Placing Zarvic.htm beside Zarvic.exe")

# The simulated device's constants must have the values the desktop's headers give the same
# names: a generated list of static assertions, compiled (as C, which folds the casts of handle
# constants) whenever the sim's headers change.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ZARVIC_SIM_CONSTANT_HEADERS ${CMAKE_SOURCE_DIR}/platform/sim/sim_types.h ${CMAKE_SOURCE_DIR}/platform/sim/sim_api.h
                                ${CMAKE_SOURCE_DIR}/platform/ce_shell_types.h)
set(ZARVIC_SIM_CONSTANT_CHECKS ${CMAKE_BINARY_DIR}/sim_constants_check.c)
add_custom_command(
    OUTPUT ${ZARVIC_SIM_CONSTANT_CHECKS}.checked
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/sim_constants_check.py ${ZARVIC_SIM_CONSTANT_CHECKS}
            ${ZARVIC_SIM_CONSTANT_HEADERS}
    COMMAND ${CMAKE_CXX_COMPILER} -x c -std=c11 -fsyntax-only -Wall -Werror ${ZARVIC_SIM_CONSTANT_CHECKS}
    COMMAND ${CMAKE_COMMAND} -E touch ${ZARVIC_SIM_CONSTANT_CHECKS}.checked
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/sim_constants_check.py ${ZARVIC_SIM_CONSTANT_HEADERS}
    COMMENT "Checking the simulated device's constants against the desktop's headers")
add_custom_target(zarvic_sim_constants ALL DEPENDS ${ZARVIC_SIM_CONSTANT_CHECKS}.checked)
add_dependencies(zarvic zarvic_sim_constants)

# Small programs the end-to-end tests drive Zarvic with under Wine.
file(GLOB ZARVIC_E2E_TOOLS CONFIGURE_DEPENDS tests/e2e/tools/*.cpp)
foreach(tool_source ${ZARVIC_E2E_TOOLS})
    get_filename_component(tool ${tool_source} NAME_WE)
    add_executable(${tool} ${tool_source})
    target_compile_definitions(${tool} PRIVATE UNICODE _UNICODE)
    target_compile_options(${tool} PRIVATE ${ZARVIC_WARNINGS})
    target_link_options(${tool} PRIVATE -static -static-libgcc -static-libstdc++ -municode)
    target_link_libraries(${tool} PRIVATE user32 gdi32 shell32)
endforeach()
# zv_paths asks the desktop backend itself how it spells a path.
target_sources(zv_paths PRIVATE platform/win32/paths.cpp)
target_include_directories(zv_paths PRIVATE ${CMAKE_SOURCE_DIR})
