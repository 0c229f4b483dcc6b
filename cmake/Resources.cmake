# The pictures of res/Scourly.rc are drawn as text (res/art) and turned into BMP and ICO files in the
# build tree by ImageMagick 6 (Debian package imagemagick). scourly_add_resources(<target>) links the
# resource script into an executable; a resource object inside a static library would never be linked.

find_program(SCOURLY_CONVERT convert REQUIRED)
execute_process(COMMAND ${SCOURLY_CONVERT} -version OUTPUT_VARIABLE _scourly_convert_version ERROR_QUIET)
if(NOT _scourly_convert_version MATCHES "ImageMagick")
  message(FATAL_ERROR "${SCOURLY_CONVERT} is not ImageMagick's convert (install the imagemagick package)")
endif()

set(SCOURLY_RES_DIR ${CMAKE_CURRENT_LIST_DIR}/../res)
cmake_path(NORMAL_PATH SCOURLY_RES_DIR)
set(SCOURLY_ART_DIR ${SCOURLY_RES_DIR}/art)

# The version resource takes its numbers from the project's one version number.
configure_file(${SCOURLY_RES_DIR}/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)

set(SCOURLY_TOOLBAR_PICTURES
  version list-all run-all stop exit add-group delete-group add-item delete-item new
  list-selected run-selected)

function(_scourly_add_picture_rules)
  set(out ${CMAKE_BINARY_DIR}/res)
  set(art ${SCOURLY_ART_DIR})
  file(MAKE_DIRECTORY ${out})
  set(pictures)

  # Toolbar buttons: 16 x 16, 4 bits per pixel. Remapping onto the full 16-colour palette keeps the
  # colour table at 16 entries, so a picture that happens to use few colours is not written as 1 bpp.
  # The light grey background is the button face colour that the toolbar treats as transparent.
  foreach(name IN LISTS SCOURLY_TOOLBAR_PICTURES)
    add_custom_command(OUTPUT ${out}/${name}.bmp
      COMMAND ${SCOURLY_CONVERT} ${art}/${name}.xpm +dither -remap ${art}/palette-16.xpm
              -compress none BMP3:${out}/${name}.bmp
      DEPENDS ${art}/${name}.xpm ${art}/palette-16.xpm
      COMMENT "Drawing ${name}.bmp"
      VERBATIM)
    list(APPEND pictures ${out}/${name}.bmp)
  endforeach()

  # Check marks: 8 bits per pixel, which the 256-entry table of the remap guarantees; every colour of
  # the drawing is in that table, so the pixels stay exact.
  add_custom_command(OUTPUT ${out}/checkmarks.bmp
    COMMAND ${SCOURLY_CONVERT} ${art}/checkmarks.xpm +dither -remap netscape:
            -compress none BMP3:${out}/checkmarks.bmp
    DEPENDS ${art}/checkmarks.xpm
    COMMENT "Drawing checkmarks.bmp"
    VERBATIM)

  add_custom_command(OUTPUT ${out}/about-background.bmp
    COMMAND ${SCOURLY_CONVERT} -background none mvg:${art}/about-bubbles.mvg
            -size 286x104 "gradient:#FFFFFF-#DCE9F7" +swap -composite
            -type TrueColor -compress none BMP3:${out}/about-background.bmp
    DEPENDS ${art}/about-bubbles.mvg
    COMMENT "Drawing about-background.bmp"
    VERBATIM)

  add_custom_command(OUTPUT ${out}/scourly.ico
    COMMAND ${SCOURLY_CONVERT} ${art}/app-32.xpm ${art}/app-16.xpm ICO:${out}/scourly.ico
    DEPENDS ${art}/app-32.xpm ${art}/app-16.xpm
    COMMENT "Drawing scourly.ico"
    VERBATIM)

  list(APPEND pictures ${out}/checkmarks.bmp ${out}/about-background.bmp ${out}/scourly.ico)
  add_custom_target(scourly_pictures DEPENDS ${pictures})
  # The picture files are read by windres, not by the preprocessor, so no depfile names them.
  set_source_files_properties(${SCOURLY_RES_DIR}/Scourly.rc PROPERTIES
    OBJECT_DEPENDS
    "${pictures};${SCOURLY_RES_DIR}/resource.h;${SCOURLY_RES_DIR}/maker.h;${CMAKE_BINARY_DIR}/res/version.h")
endfunction()

function(scourly_add_resources target)
  if(NOT TARGET scourly_pictures)
    _scourly_add_picture_rules()
  endif()
  target_sources(${target} PRIVATE ${SCOURLY_RES_DIR}/Scourly.rc)
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}/res>)
  add_dependencies(${target} scourly_pictures)
endfunction()
