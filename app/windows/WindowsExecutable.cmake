# The Windows program: a GUI-subsystem executable, so that no console window
# opens with it, carrying its icon (rendered from the same drawing as the
# Linux desktop icons) and a version resource from project().
enable_language(RC)
set_target_properties(tamarin PROPERTIES WIN32_EXECUTABLE ON)

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
set(icon_svg ${PROJECT_SOURCE_DIR}/app/resources/icons/tamarin.svg)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-icon)
set(icon_file ${CMAKE_CURRENT_BINARY_DIR}/tamarin.ico)
# The sizes Explorer, the task bar and title bars pick from at 100 to 200 %.
set(icon_sizes 16 20 24 32 40 48 64 256)
set(icon_pngs)
set(icon_commands)
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_pngs ${icon_dir}/${size}.png)
  list(APPEND icon_commands COMMAND ${RSVG_CONVERT} --width=${size} --height=${size}
       --format=png --output=${icon_dir}/${size}.png ${icon_svg})
endforeach()
add_custom_command(
  OUTPUT ${icon_file}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  ${icon_commands}
  COMMAND ${IMAGEMAGICK_CONVERT} ${icon_pngs} ${icon_file}
  DEPENDS ${icon_svg}
  COMMENT "Rendering the Windows program icon"
  VERBATIM)

# The four numbers of the version (a missing one is 0), and Beta and the like
# marked as a pre-release.
foreach(part MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    set(TAMARIN_VERSION_${part} 0)
  else()
    set(TAMARIN_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
if(TAMARIN_RELEASE_STAGE STREQUAL "")
  set(TAMARIN_FILE_FLAGS 0)
else()
  set(TAMARIN_FILE_FLAGS VS_FF_PRERELEASE)
endif()
string(SUBSTRING ${TAMARIN_RELEASE_DATE} 0 4 TAMARIN_COPYRIGHT_YEAR)
set(TAMARIN_ICON_FILE ${icon_file})
configure_file(${CMAKE_CURRENT_LIST_DIR}/tamarin.rc.in ${CMAKE_CURRENT_BINARY_DIR}/tamarin.rc @ONLY)
target_sources(tamarin PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tamarin.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/tamarin.rc PROPERTIES
  OBJECT_DEPENDS ${icon_file})
