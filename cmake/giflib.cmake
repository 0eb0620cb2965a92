# giflib writes the animated GIF. Debian ships it only for Linux, so a cross
# build (mingw-w64, emscripten) compiles Debian's own source of it
# (tools/giflib_source brings it); a build on Windows itself takes the
# installed one (MSYS2's giflib). Sets VEXA_GIFLIB.
if(CMAKE_CROSSCOMPILING)
  set(VEXA_GIFLIB_SOURCE ${CMAKE_BINARY_DIR}/giflib CACHE PATH "giflib's source, fetched from Debian when missing")
  if(NOT EXISTS ${VEXA_GIFLIB_SOURCE}/egif_lib.c)
    message(STATUS "Fetching Debian's giflib source into ${VEXA_GIFLIB_SOURCE}")
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/giflib_source ${VEXA_GIFLIB_SOURCE} RESULT_VARIABLE fetched)
    if(NOT fetched EQUAL 0)
      message(FATAL_ERROR "No giflib source: run tools/giflib_source ${VEXA_GIFLIB_SOURCE}, or set VEXA_GIFLIB_SOURCE")
    endif()
  endif()
  # Only what writing needs.
  add_library(vexa_giflib STATIC
    ${VEXA_GIFLIB_SOURCE}/egif_lib.c ${VEXA_GIFLIB_SOURCE}/gif_err.c ${VEXA_GIFLIB_SOURCE}/gif_hash.c
    ${VEXA_GIFLIB_SOURCE}/gifalloc.c ${VEXA_GIFLIB_SOURCE}/openbsd-reallocarray.c)
  target_include_directories(vexa_giflib SYSTEM PUBLIC ${VEXA_GIFLIB_SOURCE})
  set(VEXA_GIFLIB vexa_giflib)
else()
  find_package(GIF 5 REQUIRED)
  set(VEXA_GIFLIB GIF::GIF)
endif()
