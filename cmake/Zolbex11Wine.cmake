# Helpers for running build-tree programs under Wine.

set(ZOLBEX11_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")

# Windows form of an absolute Linux path: Wine maps the Linux root to drive Z:.
function(zolbex11_windows_path out_var linux_path)
    get_filename_component(absolute "${linux_path}" ABSOLUTE)
    string(REPLACE "/" "\\" windows "${absolute}")
    set(${out_var} "Z:${windows}" PARENT_SCOPE)
endfunction()
