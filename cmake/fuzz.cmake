# Fuzz targets: libFuzzer with AddressSanitizer and UBSan, built with clang
# (configure with CC=clang CXX=clang++ -DVEXA_FUZZ=ON). Each target runs on
# its own: build/fuzz/<name>_fuzz tests/fuzz/corpus/<name> -dict=...
set(VEXA_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(vexa_core PRIVATE ${VEXA_FUZZ_FLAGS} -fsanitize=fuzzer-no-link)

# An object library: the seams it defines are linked in whoever calls them.
add_library(vexa_fuzz_support OBJECT tests/fuzz/fuzz_support.cpp)
target_link_libraries(vexa_fuzz_support PUBLIC vexa_core)
target_compile_options(vexa_fuzz_support PRIVATE ${VEXA_WARNINGS} ${VEXA_FUZZ_FLAGS})

foreach(name screen_file frames_file block_text text_input picture overlay convert settings)
  add_executable(${name}_fuzz tests/fuzz/${name}_fuzz.cpp)
  target_link_libraries(${name}_fuzz PRIVATE vexa_fuzz_support)
  target_compile_options(${name}_fuzz PRIVATE ${VEXA_WARNINGS} ${VEXA_FUZZ_FLAGS} -fsanitize=fuzzer)
  target_link_options(${name}_fuzz PRIVATE ${VEXA_FUZZ_FLAGS} -fsanitize=fuzzer)
endforeach()
