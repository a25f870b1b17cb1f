# kv_warnings: an interface target every project target links to get the house warning set.
add_library(kv_warnings INTERFACE)
target_compile_options(kv_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic>)
option(KV_WERROR "Treat warnings as errors" OFF)
if(KV_WERROR)
  target_compile_options(kv_warnings INTERFACE -Werror)
endif()
