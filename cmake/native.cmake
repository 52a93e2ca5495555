# The native build of the portable code: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer (preset native), or optimised benchmarks (preset bench).
option(PINVALE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(PINVALE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  add_subdirectory(tests/native)
else()
  add_subdirectory(bench)
endif()
