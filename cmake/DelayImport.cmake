# Makes an import library whose functions are bound on first call (delay-loaded). Calls must reach
# the library's stubs: headers that declare the functions dllimport need their import macro emptied.
function(add_delay_import_lib name def dll)
  set(out ${CMAKE_BINARY_DIR}/delay/lib${name}.a)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
    COMMAND i686-w64-mingw32-dlltool -k -d ${def} -D ${dll} -y ${out}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(${name}_gen DEPENDS ${out})
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${out})
  add_dependencies(${name} ${name}_gen)
endfunction()
