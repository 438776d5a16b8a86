# The wizard's images are drawn as SVG (src/resources/svg) and rendered to PNG at build time by
# a small host tool. images.txt maps every resource path to its SVG; a resource file generated
# here lists the PNGs under those paths, and its compiled form joins the kvui library.

set(PORTAVO_RES_DIR ${CMAKE_CURRENT_LIST_DIR})
set(PORTAVO_RES_OUT ${CMAKE_CURRENT_BINARY_DIR}/portavo_images)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PORTAVO_RES_DIR}/images.txt)

add_executable(SvgRenderTool ${PORTAVO_RES_DIR}/tools/SvgRenderTool.cpp)
target_link_libraries(SvgRenderTool PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(SvgRenderTool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

file(STRINGS ${PORTAVO_RES_DIR}/images.txt portavo_image_lines REGEX "^[^#]")
set(portavo_qrc_entries "")
set(portavo_pngs "")
set(portavo_rendered "")
foreach(line IN LISTS portavo_image_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(GET fields 0 res_path)
  list(GET fields 1 svg_name)
  set(svg ${PORTAVO_RES_DIR}/svg/${svg_name}.svg)
  set(png ${PORTAVO_RES_OUT}/${svg_name}.png)
  set(png2x ${PORTAVO_RES_OUT}/${svg_name}@2x.png)
  if(NOT svg_name IN_LIST portavo_rendered)
    list(APPEND portavo_rendered ${svg_name})
    list(APPEND portavo_pngs ${png} ${png2x})
    add_custom_command(OUTPUT ${png} ${png2x}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PORTAVO_RES_OUT}
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              $<TARGET_FILE:SvgRenderTool> ${png} ${svg} ${png2x} ${svg}
      DEPENDS SvgRenderTool ${svg}
      COMMENT "Rendering ${svg_name}.png"
      VERBATIM)
  endif()
  # The same image at twice the pixels beside it ("name@2x.png", or "name@2x" without a
  # suffix): style sheets, icons and sharpPixmap() take it on screens scaled by 2.
  if(res_path MATCHES "\\.png$")
    string(REGEX REPLACE "\\.png$" "@2x.png" res_path2x "${res_path}")
  else()
    set(res_path2x "${res_path}@2x")
  endif()
  string(APPEND portavo_qrc_entries "    <file alias=\"${res_path}\">${png}</file>\n")
  string(APPEND portavo_qrc_entries "    <file alias=\"${res_path2x}\">${png2x}</file>\n")
endforeach()

# Style sheets ship as they are.
file(GLOB portavo_styles CONFIGURE_DEPENDS ${PORTAVO_RES_DIR}/styles/*.qss)
foreach(qss IN LISTS portavo_styles)
  get_filename_component(qss_name ${qss} NAME)
  string(APPEND portavo_qrc_entries "    <file alias=\"styles/${qss_name}\">${qss}</file>\n")
endforeach()

set(portavo_qrc ${CMAKE_CURRENT_BINARY_DIR}/portavo_images.qrc)
file(CONFIGURE OUTPUT ${portavo_qrc} CONTENT
  "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n${portavo_qrc_entries}</qresource>\n</RCC>\n")
set_source_files_properties(${portavo_pngs} PROPERTIES GENERATED TRUE)

# The compiled resource goes into kvui; its files are listed as dependencies so that a changed
# drawing is rendered and compiled again.
qt_add_resources(portavo_qrc_sources ${portavo_qrc} OPTIONS --name portavo_images)
add_custom_target(portavo_images_png DEPENDS ${portavo_pngs})
target_sources(kvui PRIVATE ${portavo_qrc_sources})
add_dependencies(kvui portavo_images_png)

# The same images and style sheets as an external resource file: the program registers it from
# "../Resources" beside itself (a build tree) or from its installed data folder.
qt_add_binary_resources(portavo_rcc ${portavo_qrc}
  DESTINATION ${CMAKE_BINARY_DIR}/Resources/DeviceTransferWizard.rcc)
add_dependencies(portavo_rcc portavo_images_png)
