# The generated folder: both type libraries, the C++ interface header, the member reference and
# the assembly manifests for use without registration.
#
# The x86_64 tree builds zolbex11_tlbgen from the catalogue and runs it under
# Wine (oleaut32 writes the type libraries) in its own prefix. The i686 tree is
# built on the host, where 32-bit programs may not run, so it takes the x86_64
# tree's folder through ZOLBEX11_GENERATED_DIR. Defines the target zolbex11_generated.

set(ZOLBEX11_GENERATED_FILES zolbex11_win32.tlb zolbex11_win64.tlb zolbex11_interfaces.h zolbex11_reference.md
    zolbex11_win32.sxs.manifest zolbex11_win64.sxs.manifest)

# The type-library reader (a library rendered as text), shared by the generator and the
# unit test that reads back the embedded libraries; both trees build it, since both
# trees' suites read the libraries back.
set(tlbdump_sources "${PROJECT_SOURCE_DIR}/tools/tlbgen/com_util.cpp"
                    "${PROJECT_SOURCE_DIR}/tools/tlbgen/typelib_dump.cpp")
add_library(zolbex11_tlbdump STATIC ${tlbdump_sources})
target_include_directories(zolbex11_tlbdump PUBLIC "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tools/tlbgen")
target_link_libraries(zolbex11_tlbdump PUBLIC ole32 oleaut32 uuid)
target_compile_options(zolbex11_tlbdump PRIVATE ${ZOLBEX11_WARNINGS})

if(ZOLBEX11_GENERATES_TYPELIB)
    set(ZOLBEX11_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
    list(TRANSFORM ZOLBEX11_GENERATED_FILES PREPEND "${ZOLBEX11_GENERATED_DIR}/"
         OUTPUT_VARIABLE generated_paths)

    file(GLOB tlbgen_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tools/tlbgen/*.cpp")
    set(catalogue_source "${PROJECT_SOURCE_DIR}/src/library/catalogue.cpp")
    if(NOT tlbgen_sources OR NOT EXISTS "${catalogue_source}")
        message(WARNING "tools/tlbgen or src/library/catalogue.cpp is missing: "
                        "nothing will generate ${ZOLBEX11_GENERATED_FILES}")
        add_custom_target(zolbex11_generated)
        return()
    endif()

    list(REMOVE_ITEM tlbgen_sources ${tlbdump_sources})

    # The reference's error rows come from the library's own table of errors.
    add_executable(zolbex11_tlbgen ${tlbgen_sources} "${catalogue_source}"
                   "${PROJECT_SOURCE_DIR}/src/library/error_table.cpp")
    target_include_directories(zolbex11_tlbgen PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tools/tlbgen")
    target_link_libraries(zolbex11_tlbgen PRIVATE zolbex11_tlbdump)
    target_compile_options(zolbex11_tlbgen PRIVATE ${ZOLBEX11_WARNINGS})
    # The reference names the version the DLLs are built with.
    target_compile_definitions(zolbex11_tlbgen PRIVATE "ZOLBEX11_VERSION=\"${PROJECT_VERSION}\"")

    zolbex11_windows_path(generated_dir_windows "${ZOLBEX11_GENERATED_DIR}")
    # The reference's prose: Markdown notes, read by the generator when it runs.
    set(notes_dir "${PROJECT_SOURCE_DIR}/tools/tlbgen/notes")
    file(GLOB notes_files CONFIGURE_DEPENDS "${notes_dir}/*.md")
    zolbex11_windows_path(notes_dir_windows "${notes_dir}")
    add_custom_command(
        OUTPUT ${generated_paths}
        COMMAND ${CMAKE_COMMAND} -E make_directory "${ZOLBEX11_GENERATED_DIR}"
        COMMAND ${CMAKE_COMMAND} -E env
                "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-build"
                "${ZOLBEX11_WINE_RUN}" "$<TARGET_FILE:zolbex11_tlbgen>" "${generated_dir_windows}" "${notes_dir_windows}"
        DEPENDS zolbex11_tlbgen ${notes_files}
        COMMENT "Generating the type libraries and zolbex11_interfaces.h under Wine"
        VERBATIM)
    add_custom_target(zolbex11_generated DEPENDS ${generated_paths})
else()
    set(ZOLBEX11_GENERATED_DIR "" CACHE PATH
        "generated/ folder of the x86_64 build tree (type libraries and interface header)")
    foreach(file IN LISTS ZOLBEX11_GENERATED_FILES)
        if(NOT EXISTS "${ZOLBEX11_GENERATED_DIR}/${file}")
            message(FATAL_ERROR "${ZOLBEX11_GENERATED_DIR}/${file} not found: build the x86_64 tree "
                                "first and pass its folder as -DZOLBEX11_GENERATED_DIR=<x86_64 build>/generated")
        endif()
    endforeach()
    add_custom_target(zolbex11_generated)
endif()
