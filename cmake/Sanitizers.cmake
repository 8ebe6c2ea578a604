# Checked builds. RIVAV_SANITIZE instruments every target with AddressSanitizer
# and UndefinedBehaviorSanitizer; any undefined-behaviour report aborts, so a
# test that runs into one fails. RIVAV_FUZZ adds libFuzzer's coverage hooks to
# everything (the targets of tests/fuzz link libFuzzer itself) and needs clang.
set(RIVAV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

if(RIVAV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "RIVAV_FUZZ needs clang for libFuzzer: use the fuzz preset or -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link ${RIVAV_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
elseif(RIVAV_SANITIZE)
  add_compile_options(${RIVAV_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# RIVAV_CHECKED turns on the standard library's own checks: an index past the
# end of a string, view or vector aborts instead of reading what lies beyond,
# which a sanitizer misses when the bytes beyond belong to the same buffer.
if(RIVAV_CHECKED OR RIVAV_SANITIZE OR RIVAV_FUZZ)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()

# What a sanitized test or fuzz run sees: stack traces on every report, and the
# leak report without leaks that Qt's and Chromium's own start-up leave behind.
set(RIVAV_SANITIZER_ENV
  "ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
