# The program's pictures are drawn in SVG. Where Qt Svg is at hand (Linux) the
# drawings are the resources and stay sharp at any scale. The Windows build
# has no Qt Svg: there each drawing is rendered by rsvg-convert at build time
# to PNGs at 1, 1.5 and 2 times its size, named "<name>-<width>.png", which
# widgets/PicturesRaster.cpp picks from. widgets/Pictures.h is the one place
# the program reads them through.
if(WIN32)
  set(raster_by_default ON)
else()
  set(raster_by_default OFF)
endif()
option(TAMARIN_RASTER_PICTURES "Ship the pictures as PNG renders instead of SVG (no Qt Svg)"
       ${raster_by_default})
# Percent of the drawing's size: the scales Windows offers up to 200 %
# (125 and 175 % take the next larger render, scaled down).
set(TAMARIN_PICTURE_SCALES 100 150 200)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found; install librsvg2-bin (scripts/install-deps.sh)")
endif()

# The drawing's size in pixels from its <svg width=".." height="..">.
function(tamarin_svg_size svg out_width out_height)
  file(READ ${svg} text LIMIT 4096)
  if(NOT text MATCHES "<svg[^>]* width=\"([0-9]+)\"[^>]* height=\"([0-9]+)\"")
    message(FATAL_ERROR "${svg}: no whole-pixel width and height on <svg>")
  endif()
  set(${out_width} ${CMAKE_MATCH_1} PARENT_SCOPE)
  set(${out_height} ${CMAKE_MATCH_2} PARENT_SCOPE)
endfunction()

# tamarin_add_pictures(<target> <resource name> PREFIX <prefix> BASE <folder>
#                      [WIDTHS <pixels>...] [RASTER] FILES <svg>...)
# Adds the pictures to <target> as qt_add_resources would add the SVG files.
# WIDTHS renders every file at those widths instead of at the scales (the
# window icon, which the desktop asks for at fixed sizes). RASTER renders
# them whatever the build ships (the renders' own test).
function(tamarin_add_pictures target resource)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "RASTER" "PREFIX;BASE" "WIDTHS;FILES")
  if(NOT TAMARIN_RASTER_PICTURES AND NOT ARG_RASTER)
    qt_add_resources(${target} ${resource} PREFIX ${ARG_PREFIX} BASE ${ARG_BASE} FILES ${ARG_FILES})
    return()
  endif()
  set(out_base ${CMAKE_CURRENT_BINARY_DIR}/pictures/${resource})
  set(renders)
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(svg ${file} ABSOLUTE)
    get_filename_component(base ${ARG_BASE} ABSOLUTE)
    file(RELATIVE_PATH relative ${base} ${svg})
    string(REGEX REPLACE "\\.svg$" "" stem ${relative})
    get_filename_component(out_dir ${out_base}/${stem} DIRECTORY)
    tamarin_svg_size(${svg} width height)
    set(sizes)
    if(ARG_WIDTHS)
      foreach(w IN LISTS ARG_WIDTHS)
        math(EXPR h "(${w} * ${height} + ${width} / 2) / ${width}")
        list(APPEND sizes "${w}x${h}")
      endforeach()
    else()
      foreach(percent IN LISTS TAMARIN_PICTURE_SCALES)
        math(EXPR w "(${width} * ${percent} + 50) / 100")
        math(EXPR h "(${height} * ${percent} + 50) / 100")
        list(APPEND sizes "${w}x${h}")
      endforeach()
    endif()
    foreach(size IN LISTS sizes)
      string(REGEX REPLACE "x.*" "" w ${size})
      string(REGEX REPLACE ".*x" "" h ${size})
      set(png ${out_base}/${stem}-${w}.png)
      add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND ${RSVG_CONVERT} --width=${w} --height=${h} --format=png --output=${png} ${svg}
        DEPENDS ${svg}
        COMMENT "Rendering ${relative} at ${w}x${h}"
        VERBATIM)
      list(APPEND renders ${png})
    endforeach()
  endforeach()
  qt_add_resources(${target} ${resource} PREFIX ${ARG_PREFIX} BASE ${out_base} FILES ${renders})
endfunction()
