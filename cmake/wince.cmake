# The Handheld PC's own image: Zarvic.exe for Windows CE 4.10 (subsystem 9, version 4.10).
# It imports from import libraries made here from platform/ce_api.tsv, one per CE module
# the list names, so that any call CE 4.10 does not export fails the link. There is no
# desktop C runtime: coredll exports the C functions, and platform/wince/entry.cpp is the
# start-up code. The objects are shared with the probes tests/api/ce_link_test.sh links.
# The entry point's symbol: x86 symbols carry a leading underscore, ARM ones do not.
if(NOT ZARVIC_CE_ENTRY)
    set(ZARVIC_CE_ENTRY _WinMainCRTStartup)
endif()
file(GLOB ZARVIC_WINCE_SOURCES CONFIGURE_DEPENDS platform/wince/*.cpp)
list(APPEND ZARVIC_WINCE_SOURCES platform/device_operations.cpp)
set(ZARVIC_CE_API ${CMAKE_SOURCE_DIR}/platform/ce_api.tsv)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZARVIC_CE_API})

# name <TAB> function|runtime <TAB> module.dll (header) <TAB> documentation
file(STRINGS ${ZARVIC_CE_API} ce_exports REGEX "^[^#\t]+\t(function|runtime)\t[A-Za-z0-9_]+\\.dll")
set(ZARVIC_CE_MODULES)
foreach(line IN LISTS ce_exports)
    if(line MATCHES "^([^\t]+)\t[a-z]+\t([A-Za-z0-9_]+)\\.dll")
        string(TOLOWER ${CMAKE_MATCH_2} module)
        list(APPEND ZARVIC_CE_MODULES ${module})
        string(APPEND ce_def_${module} "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
list(REMOVE_DUPLICATES ZARVIC_CE_MODULES)

set(ZARVIC_CE_IMPORT_LIBS)
foreach(module IN LISTS ZARVIC_CE_MODULES)
    set(def ${CMAKE_BINARY_DIR}/ce/${module}.def)
    set(lib ${CMAKE_BINARY_DIR}/ce/lib${module}.a)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${module}.dll\nEXPORTS\n${ce_def_${module}}")
    add_custom_command(
        OUTPUT ${lib}
        COMMAND ${ZARVIC_DLLTOOL} -k -d ${def} -l ${lib}
        DEPENDS ${def}
        COMMENT "Import library for ${module}.dll from platform/ce_api.tsv")
    list(APPEND ZARVIC_CE_IMPORT_LIBS ${lib})
endforeach()
add_custom_target(zarvic_ce_import_libs DEPENDS ${ZARVIC_CE_IMPORT_LIBS})

set(ZARVIC_RES_OBJECT ${CMAKE_BINARY_DIR}/zarvic_res.o)
add_custom_command(
    OUTPUT ${ZARVIC_RES_OBJECT}
    COMMAND ${CMAKE_RC_COMPILER} --input-format=res --output-format=coff ${ZARVIC_RES} -o ${ZARVIC_RES_OBJECT}
    DEPENDS ${ZARVIC_RES}
    COMMENT "Linking resources into an object")

add_library(zarvic_ce_objects OBJECT ${ZARVIC_LOGIC_SOURCES} ${ZARVIC_WINCE_SOURCES})
target_include_directories(zarvic_ce_objects PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(zarvic_ce_objects PUBLIC _WIN32_WCE=0x410 UNDER_CE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                    NOMINMAX)
target_compile_options(zarvic_ce_objects PUBLIC -fshort-wchar -fno-exceptions -fno-rtti -fno-threadsafe-statics
                                                -fno-asynchronous-unwind-tables)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
    # CE's windef.h makes __stdcall mean __cdecl on the device; the desktop headers are told so.
    target_compile_options(zarvic_ce_objects PUBLIC -U__stdcall -D__stdcall=__cdecl -U_stdcall -D_stdcall=__cdecl)
endif()
target_compile_options(zarvic_ce_objects PRIVATE ${ZARVIC_LOGIC_WARNINGS})

# The CE image of `target` from the shared objects and `ARGN` more sources.
function(zarvic_ce_image target)
    add_executable(${target} ${ARGN} $<TARGET_OBJECTS:zarvic_ce_objects> ${ZARVIC_RES_OBJECT})
    target_link_libraries(${target} PRIVATE zarvic_ce_objects)
    add_dependencies(${target} zarvic_ce_import_libs)
    # No link time in the header, as on the desktop: the same tree links to the same bytes.
    target_link_options(${target} PRIVATE -nostdlib -Wl,--subsystem,wince:4.10 -Wl,--image-base,0x10000
                                          -Wl,-e,${ZARVIC_CE_ENTRY} -Wl,--no-insert-timestamp)
    target_link_libraries(${target} PRIVATE ${ZARVIC_CE_IMPORT_LIBS} -lgcc)
endfunction()

zarvic_ce_image(zarvic)
set_target_properties(zarvic PROPERTIES OUTPUT_NAME Zarvic)

# Probes for the link check: one more call CE 4.10 exports, and one it does not.
zarvic_ce_image(ce_link_probe_ce tests/api/ce_link_probe.cpp)
zarvic_ce_image(ce_link_probe_desktop tests/api/ce_link_probe.cpp)
target_compile_definitions(ce_link_probe_desktop PRIVATE ZARVIC_PROBE_DESKTOP_CALL)
set_target_properties(ce_link_probe_ce ce_link_probe_desktop PROPERTIES EXCLUDE_FROM_ALL ON)
