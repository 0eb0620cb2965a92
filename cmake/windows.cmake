# Win32 half: Vexa.exe and the shell's tests, run under Wine by ctest.
enable_testing()
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# One self-contained executable: no mingw runtime DLLs to ship beside it.
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

include(cmake/giflib.cmake)  # sets VEXA_GIFLIB

file(GLOB VEXA_SHELL_SOURCES CONFIGURE_DEPENDS shell/*.cpp shell/base/*.cpp)
list(FILTER VEXA_SHELL_SOURCES EXCLUDE REGEX "shell/main_win32\\.cpp$")
# An object library: every shell file is linked in, so the core can call
# its seams whatever pulled them.
add_library(vexa_shell OBJECT ${VEXA_SHELL_SOURCES} ${VEXA_GIFLIB_GLUE})
target_link_libraries(vexa_shell PUBLIC vexa_core ${VEXA_GIFLIB} comctl32 comdlg32 shlwapi gdi32 user32 shell32 ole32 windowscodecs)
target_compile_options(vexa_shell PRIVATE ${VEXA_WARNINGS})

add_executable(Vexa WIN32 shell/main_win32.cpp)
target_link_libraries(Vexa PRIVATE vexa_shell)
target_compile_options(Vexa PRIVATE ${VEXA_WARNINGS})
if(MINGW)
  target_link_options(Vexa PRIVATE -municode)
endif()
add_dependencies(Vexa font)

# The release: Vexa-<version>-windows.zip with the program, its font, the
# examples and a short README, built with everything else.
set(VEXA_RELEASE_NAME Vexa-${VEXA_VERSION}-windows)
# The browser version rides along when its configuration has made it.
set(VEXA_WEB_PAGE "" CACHE FILEPATH "vexa.html from the emcmake configuration, packed into the release zip")
set(VEXA_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${VEXA_RELEASE_NAME}.zip)
file(GLOB VEXA_EXAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.txt ${CMAKE_SOURCE_DIR}/examples/*.vxf)
set(stage ${CMAKE_BINARY_DIR}/release/${VEXA_RELEASE_NAME})
add_custom_command(OUTPUT ${VEXA_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/release
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/examples
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Vexa> ${VEXA_FONT_FILE} ${CMAKE_SOURCE_DIR}/res/release/README.txt
          ${VEXA_WEB_PAGE} ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${VEXA_EXAMPLES} ${stage}/examples
  COMMAND ${CMAKE_STRIP} ${stage}/Vexa.exe
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/release
          ${CMAKE_COMMAND} -E tar cf ${VEXA_RELEASE_ZIP} --format=zip ${VEXA_RELEASE_NAME}
  DEPENDS Vexa font ${VEXA_FONT_FILE} ${VEXA_EXAMPLES} ${CMAKE_SOURCE_DIR}/res/release/README.txt ${VEXA_WEB_PAGE}
  COMMENT "Packing ${VEXA_RELEASE_NAME}.zip")
add_custom_target(release ALL DEPENDS ${VEXA_RELEASE_ZIP})

# The shell's tests need GoogleTest's sources: Debian's, built with the posix
# mingw compilers (or VEXA_GTEST_SOURCE elsewhere).
set(VEXA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the shell tests")
if(NOT EXISTS ${VEXA_GTEST_SOURCE}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${VEXA_GTEST_SOURCE}: building Vexa.exe without the shell tests")
  include(cmake/resources.cmake)
  target_sources(Vexa PRIVATE ${VEXA_RESOURCES})
  return()
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VEXA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB VEXA_SHELL_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(vexa_shell_tests ${VEXA_SHELL_TEST_SOURCES})
target_link_libraries(vexa_shell_tests PRIVATE vexa_shell gtest gtest_main)
target_compile_options(vexa_shell_tests PRIVATE ${VEXA_WARNINGS})
# Stands in for another program that puts text on the clipboard.
add_executable(vexa_clip_put tests/win32/helpers/clip_put.cpp)
target_compile_options(vexa_clip_put PRIVATE ${VEXA_WARNINGS})
if(MINGW)
  target_link_options(vexa_clip_put PRIVATE -municode)
endif()
add_dependencies(vexa_shell_tests font Vexa vexa_clip_put)

set(VEXA_WINE_ENV
  WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=)
# Without a window manager on the virtual display, Wine waits two seconds
# for every managed window to be withdrawn: the test prefix leaves top-level
# windows unmanaged.
add_test(NAME wine-prefix COMMAND wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f)
set_tests_properties(wine-prefix PROPERTIES ENVIRONMENT "${VEXA_WINE_ENV}" FIXTURES_SETUP wine RUN_SERIAL ON)
# The Japanese fonts Windows programs ask for are Debian's IPA Gothic, as
# ./vexa sets them up, so that dialogs are measured in the font a user sees.
set(VEXA_JAPANESE_FACES "MS UI Gothic" "MS Gothic" "MS PGothic" "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "Yu Gothic UI" "Meiryo"
    "Meiryo UI")
set(replace "")
foreach(face ${VEXA_JAPANESE_FACES})
  string(APPEND replace "wine reg add 'HKCU\\Software\\Wine\\Fonts\\Replacements' /v '${face}' /t REG_SZ /d IPAGothic /f && ")
endforeach()
add_test(NAME wine-fonts COMMAND sh -c "${replace}true")
set_tests_properties(wine-fonts PROPERTIES ENVIRONMENT "${VEXA_WINE_ENV};LANG=C.UTF-8" FIXTURES_SETUP wine
  DEPENDS wine-prefix RUN_SERIAL ON)
# Once under a Japanese system locale (code page 932) and once under the C
# locale (code page 1252). In the C run only the characters of Unix file
# names are UTF-8, so that Wine can store Unicode names at all.
foreach(locale ja_JP.UTF-8 C)
  set(ctype ${locale})
  if(locale STREQUAL "C")
    set(ctype C.UTF-8)
  endif()
  add_test(NAME shell-${locale} COMMAND vexa_shell_tests --gtest_filter=-Release.*)
  set_tests_properties(shell-${locale} PROPERTIES
    ENVIRONMENT "${VEXA_WINE_ENV};LANG=${locale};LC_ALL=;LC_CTYPE=${ctype}"
    FIXTURES_REQUIRED wine
    RUN_SERIAL ON)
endforeach()

# The animated GIF the window wrote in the C run, decoded by PIL (Debian's
# python3-pil), a decoder apart from the giflib that wrote it, and compared
# with the player's pictures the test left beside it.
set(VEXA_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 with PIL for the GIF checks")
add_test(NAME gif-clean COMMAND ${CMAKE_COMMAND} -E rm -f window-animation.gif window-animation.expected)
set_tests_properties(gif-clean PROPERTIES FIXTURES_SETUP gifclean)
set_tests_properties(shell-C PROPERTIES FIXTURES_REQUIRED "wine;gifclean" FIXTURES_SETUP windowgif)
add_test(NAME gif-from-window COMMAND ${VEXA_PYTHON} ${CMAKE_SOURCE_DIR}/tests/gif/check_gif.py
         window-animation.gif window-animation.expected)
set_tests_properties(gif-from-window PROPERTIES FIXTURES_REQUIRED windowgif)

# Resources (menu, accelerators, toolbar bitmap, icons) for Vexa.exe and for
# the shell tests, which load them from their own module.
include(cmake/resources.cmake)  # sets VEXA_RESOURCES
target_sources(Vexa PRIVATE ${VEXA_RESOURCES})
target_sources(vexa_shell_tests PRIVATE ${VEXA_RESOURCES})

# The zip unpacked into a fresh folder starts on a fresh Wine prefix with an
# example open.
set(VEXA_UNPACKED ${CMAKE_BINARY_DIR}/unpacked)
add_test(NAME release-unpack COMMAND ${CMAKE_COMMAND} -DZIP=${VEXA_RELEASE_ZIP} -DINTO=${VEXA_UNPACKED}
         -P ${CMAKE_SOURCE_DIR}/cmake/unpack.cmake)
set_tests_properties(release-unpack PROPERTIES FIXTURES_SETUP release)
add_test(NAME release-start COMMAND vexa_shell_tests --gtest_filter=Release.*)
set_tests_properties(release-start PROPERTIES
  ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/fresh-prefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;VEXA_RELEASE_DIR=${VEXA_UNPACKED}/${VEXA_RELEASE_NAME}"
  FIXTURES_REQUIRED release
  RUN_SERIAL ON)
