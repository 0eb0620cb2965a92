# Native half: the core's tests, the command-line companion and the benchmarks.
enable_testing()
find_package(GTest REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GIF 5 REQUIRED)
# The tests run the exported Z80 programs on a complete Z80.
find_path(Z80EX_INCLUDE_DIR z80ex/z80ex.h REQUIRED)
find_library(Z80EX_LIBRARY z80ex REQUIRED)

add_executable(vexa-cli tools/vexa_cli.cpp tools/posix_file.cpp tools/picture_read.cpp ${VEXA_GIFLIB_GLUE})
target_link_libraries(vexa-cli PRIVATE vexa_core PNG::PNG JPEG::JPEG GIF::GIF)
target_compile_options(vexa-cli PRIVATE ${VEXA_WARNINGS})
add_dependencies(vexa-cli font)

# Debian's Python with PIL (python3-pil) decodes GIFs in the tests, apart
# from the giflib that writes them.
set(VEXA_PYTHON /usr/bin/python3 CACHE FILEPATH "Python 3 with PIL for the GIF checks")
file(GLOB VEXA_TEST_SOURCES CONFIGURE_DEPENDS tests/*.cpp)
add_executable(vexa_tests ${VEXA_TEST_SOURCES})
target_link_libraries(vexa_tests PRIVATE vexa_core GTest::gtest GTest::gtest_main PNG::PNG JPEG::JPEG GIF::GIF
  ${Z80EX_LIBRARY})
target_include_directories(vexa_tests PRIVATE ${Z80EX_INCLUDE_DIR})
target_compile_options(vexa_tests PRIVATE ${VEXA_WARNINGS})
target_compile_definitions(vexa_tests PRIVATE
  VEXA_FONT_FILE="${VEXA_FONT_FILE}"
  VEXA_FONTC="${VEXA_FONTC_COMMAND}"
  VEXA_CLI="$<TARGET_FILE:vexa-cli>"
  VEXA_PYTHON="${VEXA_PYTHON}"
  VEXA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(vexa_tests font vexa-cli fontc)
add_test(NAME core COMMAND vexa_tests)

# The core alone: it links with no front end and no host function, and edits.
add_executable(core_alone tests/alone/core_alone.cpp)
target_link_libraries(core_alone PRIVATE vexa_core)
target_compile_options(core_alone PRIVATE ${VEXA_WARNINGS})
add_test(NAME core-alone COMMAND core_alone)

if(VEXA_BENCH AND NOT VEXA_SANITIZE)
  file(GLOB VEXA_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
  if(VEXA_BENCH_SOURCES)
    find_package(benchmark REQUIRED)
    add_executable(vexa_bench ${VEXA_BENCH_SOURCES})
    target_link_libraries(vexa_bench PRIVATE vexa_core benchmark::benchmark)
    target_compile_options(vexa_bench PRIVATE ${VEXA_WARNINGS})
    target_compile_definitions(vexa_bench PRIVATE VEXA_FONT_FILE="${VEXA_FONT_FILE}")
    add_dependencies(vexa_bench font)
  endif()

  # How close converted screens look to real pictures (bench/quality/README.md).
  add_executable(vexa_quality bench/quality/convert_quality.cpp tools/picture_read.cpp tools/posix_file.cpp)
  target_link_libraries(vexa_quality PRIVATE vexa_core PNG::PNG JPEG::JPEG GIF::GIF)
  target_compile_options(vexa_quality PRIVATE ${VEXA_WARNINGS})
  target_compile_definitions(vexa_quality PRIVATE VEXA_FONT_FILE="${VEXA_FONT_FILE}")
  add_dependencies(vexa_quality font)
endif()
