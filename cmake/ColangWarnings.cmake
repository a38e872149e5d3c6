# The warning set every colang target builds with; warnings are errors in CI.
# The compilers are GCC and Clang, natively and as MinGW-w64 for Windows.
option(COLANG_WERROR "Treat warnings as errors" OFF)
function(colang_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(COLANG_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
