# Resources of Vexa.exe and of the shell tests: the resource script plus the
# toolbar bitmap and icons, which make_assets generates from the drawings in
# res/ at build time. Included by cmake/windows.cmake;
# sets VEXA_RESOURCES to the sources to add to a target.

vexa_host_tool(make_assets tools/make_assets.cpp)

set(VEXA_ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
set(VEXA_TOOLBAR_BMP ${VEXA_ASSET_DIR}/vexa_toolbar.bmp)
set(VEXA_ICON ${VEXA_ASSET_DIR}/vexa_icon.ico)
set(VEXA_ICON_SMALL ${VEXA_ASSET_DIR}/vexa_icon_small.ico)
set(VEXA_TOOLBAR_DRAWING ${CMAKE_SOURCE_DIR}/res/toolbar.txt)
set(VEXA_ICON_DRAWINGS ${CMAKE_SOURCE_DIR}/res/icon32.txt ${CMAKE_SOURCE_DIR}/res/icon16.txt)
set(VEXA_ICON_SMALL_DRAWING ${CMAKE_SOURCE_DIR}/res/icon16.txt)

add_custom_command(OUTPUT ${VEXA_TOOLBAR_BMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXA_ASSET_DIR}
  COMMAND ${VEXA_MAKE_ASSETS_COMMAND} bmp ${VEXA_TOOLBAR_BMP} ${VEXA_TOOLBAR_DRAWING}
  DEPENDS ${VEXA_MAKE_ASSETS_DEPENDS} ${VEXA_TOOLBAR_DRAWING}
  COMMENT "Drawing the toolbar bitmap")
# The large icon also carries the 16 x 16 drawing, so that small views of it
# show the drawn image instead of a shrunken one.
add_custom_command(OUTPUT ${VEXA_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXA_ASSET_DIR}
  COMMAND ${VEXA_MAKE_ASSETS_COMMAND} ico ${VEXA_ICON} ${VEXA_ICON_DRAWINGS}
  DEPENDS ${VEXA_MAKE_ASSETS_DEPENDS} ${VEXA_ICON_DRAWINGS}
  COMMENT "Drawing the large icon")
add_custom_command(OUTPUT ${VEXA_ICON_SMALL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VEXA_ASSET_DIR}
  COMMAND ${VEXA_MAKE_ASSETS_COMMAND} ico ${VEXA_ICON_SMALL} ${VEXA_ICON_SMALL_DRAWING}
  DEPENDS ${VEXA_MAKE_ASSETS_DEPENDS} ${VEXA_ICON_SMALL_DRAWING}
  COMMENT "Drawing the small icon")

# windres finds the generated files through the include path. It does not
# report what the script includes, so the dependencies are named here: the
# script is compiled again whenever an image or the ID header changes.
set(VEXA_RESOURCES ${CMAKE_SOURCE_DIR}/res/vexa.rc)
set_source_files_properties(${VEXA_RESOURCES} PROPERTIES
  INCLUDE_DIRECTORIES ${VEXA_ASSET_DIR}
  OBJECT_DEPENDS "${VEXA_TOOLBAR_BMP};${VEXA_ICON};${VEXA_ICON_SMALL};${CMAKE_SOURCE_DIR}/res/resource.h")
# The images also belong to a target of their own, which the programs wait
# for, so that generators without per-file dependencies make them once.
add_custom_target(vexa_assets DEPENDS ${VEXA_TOOLBAR_BMP} ${VEXA_ICON} ${VEXA_ICON_SMALL})
foreach(program Vexa vexa_shell_tests)
  if(TARGET ${program})
    add_dependencies(${program} vexa_assets)
  endif()
endforeach()
