# Win32 half: Vexa.exe and the shell's tests, run under Wine by ctest.
enable_testing()
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# One self-contained executable: no mingw runtime DLLs to ship beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB VEXA_SHELL_SOURCES CONFIGURE_DEPENDS
  app/*_win32.cpp screen/*_win32.cpp render/*_win32.cpp io/*_win32.cpp anim/*_win32.cpp)
list(FILTER VEXA_SHELL_SOURCES EXCLUDE REGEX "app/main_win32\\.cpp$")
add_library(vexa_shell STATIC ${VEXA_SHELL_SOURCES})
target_link_libraries(vexa_shell PUBLIC vexa_core comctl32 comdlg32 shlwapi gdi32 user32 msimg32 shell32)
target_compile_options(vexa_shell PRIVATE ${VEXA_WARNINGS})

add_executable(Vexa WIN32 app/main_win32.cpp)
target_link_libraries(Vexa PRIVATE vexa_shell)
target_compile_options(Vexa PRIVATE ${VEXA_WARNINGS})
target_link_options(Vexa PRIVATE -municode)
add_dependencies(Vexa font)

# GoogleTest from Debian's sources, built with the posix mingw compilers.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB VEXA_SHELL_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(vexa_shell_tests ${VEXA_SHELL_TEST_SOURCES})
target_link_libraries(vexa_shell_tests PRIVATE vexa_shell gtest gtest_main)
target_compile_options(vexa_shell_tests PRIVATE ${VEXA_WARNINGS})
add_dependencies(vexa_shell_tests font Vexa)

set(VEXA_WINE_ENV
  WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=)
foreach(locale ja_JP.UTF-8 C)
  add_test(NAME shell-${locale} COMMAND vexa_shell_tests)
  set_tests_properties(shell-${locale} PROPERTIES
    ENVIRONMENT "${VEXA_WINE_ENV};LANG=${locale};LC_ALL=${locale}"
    RUN_SERIAL ON)
endforeach()

# Resources (menu, accelerators, toolbar bitmap, icons) for Vexa.exe and for
# the shell tests, which load them from their own module.
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/resources.cmake)
  include(cmake/resources.cmake)  # sets VEXA_RESOURCES
  target_sources(Vexa PRIVATE ${VEXA_RESOURCES})
  target_sources(vexa_shell_tests PRIVATE ${VEXA_RESOURCES})
endif()
