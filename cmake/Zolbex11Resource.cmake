# The library's resource script (version information and the type library of
# this tree's pointer size as resource 1 TYPELIB), for the DLL and the test
# executable alike, so the dispatcher finds the type library in its own module.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZOLBEX11_TYPELIB "${ZOLBEX11_GENERATED_DIR}/zolbex11_win64.tlb")
else()
    set(ZOLBEX11_TYPELIB "${ZOLBEX11_GENERATED_DIR}/zolbex11_win32.tlb")
endif()

# src/library/zolbex11.rc includes this one-line file that names the typelib.
set(ZOLBEX11_RESOURCE_INCLUDE_DIR "${CMAKE_BINARY_DIR}/resource")
configure_file("${CMAKE_CURRENT_LIST_DIR}/zolbex11_typelib.rc.in"
               "${ZOLBEX11_RESOURCE_INCLUDE_DIR}/zolbex11_typelib.rc" @ONLY)

function(zolbex11_embed_resources target)
    set(script "${PROJECT_SOURCE_DIR}/src/library/zolbex11.rc")
    target_sources(${target} PRIVATE "${script}")
    target_include_directories(${target} PRIVATE "${ZOLBEX11_RESOURCE_INCLUDE_DIR}")
    # windres does not report the typelib as a dependency of the script.
    set_source_files_properties("${script}" TARGET_DIRECTORY ${target}
                                PROPERTIES OBJECT_DEPENDS "${ZOLBEX11_TYPELIB}")
    add_dependencies(${target} zolbex11_generated)
endfunction()
