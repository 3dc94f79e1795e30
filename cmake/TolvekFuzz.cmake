# The fuzzing configuration: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
# Every library is instrumented for coverage; only the targets under fuzz/ link the fuzzer's main.
option(TOLVEK_FUZZ "Build the libFuzzer targets under fuzz/ (clang only)" OFF)
if(TOLVEK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TOLVEK_FUZZ needs clang; the fuzz preset uses clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined
                      -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TOLVEK_FUZZ)
  # clang warns about other things than g++; the g++ builds keep warnings as errors, and a clang
  # warning here must not stop the fuzzers from building.
  function(tolvek_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endfunction()
endif()
