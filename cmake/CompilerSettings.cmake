# Warnings are errors everywhere; sanitizers and fuzzing are switched on by option.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
                    -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough -Werror)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-Wno-gnu-zero-variadic-macro-arguments)
endif()

if(QUILLMARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QUILLMARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QUILLMARK_FUZZ needs clang")
  endif()
  # Libraries get coverage instrumentation; each fuzz target links the libFuzzer driver itself.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
