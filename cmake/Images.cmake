# Renders the program's pictures (res/images/*.svg, listed in res/images/images.txt) to PNG in the build tree
# and writes images.rc, the resource lines that put each one into Uninstall.exe under its id.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

set(IMAGES_SOURCE_DIR ${CMAKE_SOURCE_DIR}/res/images)
set(IMAGES_TABLE ${IMAGES_SOURCE_DIR}/images.txt)
set(IMAGES_OUTPUT_DIR ${CMAKE_BINARY_DIR}/res/images)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${IMAGES_TABLE})

file(STRINGS ${IMAGES_TABLE} image_rows REGEX "^[0-9]")
set(image_pngs)
set(images_rc "// The program's pictures, made by the build from res/images.\n")
foreach(row IN LISTS image_rows)
  if(NOT row MATCHES "^([0-9]+) +([a-z0-9_]+) ")
    message(FATAL_ERROR "images.txt: cannot read the row '${row}'")
  endif()
  set(stem ${CMAKE_MATCH_1}_${CMAKE_MATCH_2})
  set(svg ${IMAGES_SOURCE_DIR}/${stem}.svg)
  set(png ${IMAGES_OUTPUT_DIR}/${stem}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${IMAGES_OUTPUT_DIR}
    COMMAND ${RSVG_CONVERT} --format=png --output=${png} ${svg}
    DEPENDS ${svg} VERBATIM)
  list(APPEND image_pngs ${png})
  string(APPEND images_rc "${CMAKE_MATCH_1} PNG \"${png}\"\n")
endforeach()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/res/images.rc CONTENT "${images_rc}")

add_custom_target(program_images DEPENDS ${image_pngs})
add_dependencies(Uninstall program_images)
set_property(SOURCE res/Uninstall.rc APPEND PROPERTY OBJECT_DEPENDS ${image_pngs} ${CMAKE_BINARY_DIR}/res/images.rc)

# All pictures on one sheet, for a look at them side by side: `cmake --build <dir> --target image_contact_sheet`.
add_custom_target(image_contact_sheet
  COMMAND ${CMAKE_SOURCE_DIR}/tools/image-contact-sheet.sh ${IMAGES_TABLE} ${IMAGES_OUTPUT_DIR}
          ${CMAKE_BINARY_DIR}/contact-sheet.png
  DEPENDS program_images VERBATIM)
