# Browser half (configure with emcmake cmake): the same core compiled to
# WebAssembly and wrapped with the page's own HTML, CSS and scripts into one
# self-contained vexa.html that opens from a file on disk.
find_program(VEXA_NODE NAMES node nodejs REQUIRED)
# Debian's emscripten runs its JavaScript tools on the machine's node, which
# does not look in Debian's module folder by itself.
set(VEXA_NODE_ENV ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${VEXA_NODE_ENV})

# The menus, keys, dialogs and texts come from the resource script, and the
# toolbar from its drawing, both at build time.
vexa_host_tool(make_assets tools/make_assets.cpp)
set(VEXA_TOOLBAR_BMP ${CMAKE_BINARY_DIR}/assets/vexa_toolbar.bmp)
set(VEXA_ICON ${CMAKE_BINARY_DIR}/assets/vexa_icon.ico)
add_custom_command(OUTPUT ${VEXA_TOOLBAR_BMP} ${VEXA_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/assets
  COMMAND ${VEXA_MAKE_ASSETS_COMMAND} bmp ${VEXA_TOOLBAR_BMP} ${CMAKE_SOURCE_DIR}/res/toolbar.txt
  COMMAND ${VEXA_MAKE_ASSETS_COMMAND} ico ${VEXA_ICON} ${CMAKE_SOURCE_DIR}/res/icon16.txt
  DEPENDS ${VEXA_MAKE_ASSETS_DEPENDS} ${CMAKE_SOURCE_DIR}/res/toolbar.txt ${CMAKE_SOURCE_DIR}/res/icon16.txt
  COMMENT "Drawing the toolbar and the icon")

include(cmake/giflib.cmake)  # sets VEXA_GIFLIB
file(GLOB VEXA_WEB_SOURCES CONFIGURE_DEPENDS web/*.cpp)
add_executable(vexa_web ${VEXA_WEB_SOURCES} ${VEXA_GIFLIB_GLUE})
target_link_libraries(vexa_web PRIVATE vexa_core ${VEXA_GIFLIB})
target_compile_options(vexa_web PRIVATE ${VEXA_WARNINGS})
# The font travels inside the module, where the core's LoadFont reads it.
# The page carries no debugging information: it is what users download.
target_link_options(vexa_web PRIVATE -g0
  -sSINGLE_FILE=1 -sMODULARIZE=1 -sEXPORT_NAME=VexaCore -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sEXPORTED_RUNTIME_METHODS=[UTF8ToString,stringToUTF8,lengthBytesUTF8]
  -sEXPORTED_FUNCTIONS=[_malloc,_free] -sFILESYSTEM=1
  --embed-file ${VEXA_FONT_FILE}@mz700fon.dat)
set_target_properties(vexa_web PROPERTIES LINK_DEPENDS ${VEXA_FONT_FILE})
add_dependencies(vexa_web font)

file(GLOB VEXA_PAGE_SOURCES CONFIGURE_DEPENDS web/page/*)
set(VEXA_PAGE ${CMAKE_BINARY_DIR}/vexa.html)
add_custom_command(OUTPUT ${VEXA_PAGE}
  COMMAND ${VEXA_NODE} ${CMAKE_SOURCE_DIR}/web/make_page.mjs ${VEXA_PAGE}
          $<TARGET_FILE:vexa_web> ${CMAKE_SOURCE_DIR}/res/vexa.rc ${CMAKE_SOURCE_DIR}/res/resource.h
          ${VEXA_TOOLBAR_BMP} ${VEXA_ICON}
  DEPENDS vexa_web ${VEXA_PAGE_SOURCES} ${CMAKE_SOURCE_DIR}/web/make_page.mjs ${CMAKE_SOURCE_DIR}/web/rc.mjs
          ${CMAKE_SOURCE_DIR}/res/vexa.rc ${CMAKE_SOURCE_DIR}/res/resource.h ${VEXA_TOOLBAR_BMP} ${VEXA_ICON}
  COMMENT "Making vexa.html")
add_custom_target(page ALL DEPENDS ${VEXA_PAGE})

# The page alone, with the examples and the release README, for the release
# beside the Windows zip.
set(VEXA_WEB_RELEASE_NAME Vexa-${VEXA_VERSION}-web)
set(VEXA_WEB_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${VEXA_WEB_RELEASE_NAME}.zip)
file(GLOB VEXA_EXAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.txt)
set(stage ${CMAKE_BINARY_DIR}/release/${VEXA_WEB_RELEASE_NAME})
add_custom_command(OUTPUT ${VEXA_WEB_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/release
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/examples
  COMMAND ${CMAKE_COMMAND} -E copy ${VEXA_PAGE} ${CMAKE_SOURCE_DIR}/res/release/README.txt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${VEXA_EXAMPLES} ${stage}/examples
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/release
          ${CMAKE_COMMAND} -E tar cf ${VEXA_WEB_RELEASE_ZIP} --format=zip ${VEXA_WEB_RELEASE_NAME}
  DEPENDS ${VEXA_PAGE} ${VEXA_EXAMPLES} ${CMAKE_SOURCE_DIR}/res/release/README.txt
  COMMENT "Packing ${VEXA_WEB_RELEASE_NAME}.zip")
add_custom_target(web_release ALL DEPENDS ${VEXA_WEB_RELEASE_ZIP})
