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

# ... and this one, the version numbers of project(VERSION). The text form writes the minor
# number with two digits and the last one with four: 1.1.0.206 is "1.01.0206".
function(zolbex11_zero_padded out_var number digits)
    string(LENGTH "${number}" length)
    while(length LESS digits)
        string(PREPEND number "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out_var} "${number}" PARENT_SCOPE)
endfunction()
zolbex11_zero_padded(minor_text "${PROJECT_VERSION_MINOR}" 2)
zolbex11_zero_padded(tweak_text "${PROJECT_VERSION_TWEAK}" 4)
set(ZOLBEX11_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor_text}.${tweak_text}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/zolbex11_version.rc.in"
               "${ZOLBEX11_RESOURCE_INCLUDE_DIR}/zolbex11_version.rc" @ONLY)

function(zolbex11_embed_resources target)
    set(script "${PROJECT_SOURCE_DIR}/src/library/zolbex11.rc")
    target_sources(${target} PRIVATE "${script}")
    target_include_directories(${target} PRIVATE "${ZOLBEX11_RESOURCE_INCLUDE_DIR}")
    # windres reports neither the typelib nor the version file as dependencies of the script.
    set_source_files_properties("${script}" TARGET_DIRECTORY ${target}
                                PROPERTIES OBJECT_DEPENDS "${ZOLBEX11_TYPELIB};${ZOLBEX11_RESOURCE_INCLUDE_DIR}/zolbex11_version.rc")
    add_dependencies(${target} zolbex11_generated)
endfunction()
