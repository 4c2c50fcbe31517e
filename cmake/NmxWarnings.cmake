# Warnings for nmx's own targets only; consumers' flags are never touched.
function(nmx_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wdouble-promotion
    -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough
    -Wmissing-declarations)
  if(NMX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
