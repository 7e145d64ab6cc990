# Programs that use the DLL without registration. zolbex11_registration_free(TARGET) embeds the
# application manifest (examples/cpp/regfree.manifest.in: a dependency on the assembly
# zolbex11.sxs) as the program's RT_MANIFEST resource 1 and builds the program into
# <tree>/regfree/, beside copies of the tree's DLL and of its assembly manifest: the folder runs
# as it is on a machine where nothing of the library is registered.

set(ZOLBEX11_REGFREE_DIR "${CMAKE_BINARY_DIR}/regfree")
if(ZOLBEX11_TARGET STREQUAL "x86_64")
    set(ZOLBEX11_ASSEMBLY_ARCH amd64)
    set(ZOLBEX11_ASSEMBLY_MANIFEST "${ZOLBEX11_GENERATED_DIR}/zolbex11_win64.sxs.manifest")
else()
    set(ZOLBEX11_ASSEMBLY_ARCH x86)
    set(ZOLBEX11_ASSEMBLY_MANIFEST "${ZOLBEX11_GENERATED_DIR}/zolbex11_win32.sxs.manifest")
endif()

# The application manifest, also shipped with the examples (scripts/assemble-package.sh).
set(ZOLBEX11_APPLICATION_MANIFEST "${CMAKE_BINARY_DIR}/regfree.manifest")
configure_file("${PROJECT_SOURCE_DIR}/examples/cpp/regfree.manifest.in" "${ZOLBEX11_APPLICATION_MANIFEST}" @ONLY)
set(regfree_rc "${CMAKE_BINARY_DIR}/regfree_manifest.rc")
file(WRITE "${regfree_rc}" "1 24 \"${ZOLBEX11_APPLICATION_MANIFEST}\"\n")
set_source_files_properties("${regfree_rc}" PROPERTIES OBJECT_DEPENDS "${ZOLBEX11_APPLICATION_MANIFEST}")

add_custom_command(
    OUTPUT "${ZOLBEX11_REGFREE_DIR}/zolbex11.dll" "${ZOLBEX11_REGFREE_DIR}/zolbex11.sxs.manifest"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${ZOLBEX11_REGFREE_DIR}"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:zolbex11>" "${ZOLBEX11_REGFREE_DIR}/zolbex11.dll"
    COMMAND ${CMAKE_COMMAND} -E copy "${ZOLBEX11_ASSEMBLY_MANIFEST}" "${ZOLBEX11_REGFREE_DIR}/zolbex11.sxs.manifest"
    DEPENDS zolbex11 "${ZOLBEX11_ASSEMBLY_MANIFEST}" zolbex11_generated
    COMMENT "Copying the DLL and its assembly manifest into regfree/"
    VERBATIM)
add_custom_target(zolbex11_regfree_folder
    DEPENDS "${ZOLBEX11_REGFREE_DIR}/zolbex11.dll" "${ZOLBEX11_REGFREE_DIR}/zolbex11.sxs.manifest")

function(zolbex11_registration_free target)
    target_sources(${target} PRIVATE "${regfree_rc}")
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${ZOLBEX11_REGFREE_DIR}")
    add_dependencies(${target} zolbex11_regfree_folder)
endfunction()
