# Compiles two files with the include path of the settings library: one that includes a folder above it must
# fail, one that includes its own folder and base must succeed. Either answer otherwise stops the configuration.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(rule_tree ${CMAKE_BINARY_DIR}/include/sorabune_settings)
foreach(probe Upward Downward)
    try_compile(folder_rule_${probe} ${CMAKE_BINARY_DIR}/folder-rule/${probe}
        ${CMAKE_SOURCE_DIR}/cmake/folder-rule/${probe}.cpp
        CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${rule_tree}"
        COMPILE_DEFINITIONS -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX
        CXX_STANDARD 20
        OUTPUT_VARIABLE folder_rule_output)
endforeach()
if(folder_rule_Upward)
    message(FATAL_ERROR "The settings library can include a wallpaper header: the one-way folder rule is not enforced.")
endif()
if(NOT folder_rule_Downward)
    message(FATAL_ERROR "The settings library cannot include its own headers; the folder rule check is broken:\n"
        "${folder_rule_output}")
endif()
message(STATUS "Folder rule: an upward include fails to compile, a downward one compiles")
