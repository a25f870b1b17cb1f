# tinygltf for the Windows build. Debian ships tinygltf as a Linux shared
# library (libtinygltf-dev), which a Windows program cannot load; its header
# (/usr/include/tiny_gltf.h) holds the whole implementation, so the Windows
# build compiles that same header once with TINYGLTF_IMPLEMENTATION into a
# small static library. The headers are copied into the build folder (the
# cross compiler must never see the rest of /usr/include), so Linux and Windows
# use the same tinygltf version and no copy of it lives in the repository.
# Needs libtinygltf-dev and nlohmann-json3-dev (tinygltf's JSON library).

set(_kv_host_include /usr/include)
foreach(_needed tiny_gltf.h nlohmann/json.hpp)
  if(NOT EXISTS ${_kv_host_include}/${_needed})
    message(FATAL_ERROR "${_kv_host_include}/${_needed} not found: install libtinygltf-dev "
      "and nlohmann-json3-dev")
  endif()
endforeach()
set(_kv_staged ${CMAKE_BINARY_DIR}/tinygltf-include)
file(COPY ${_kv_host_include}/tiny_gltf.h DESTINATION ${_kv_staged})
file(COPY ${_kv_host_include}/nlohmann DESTINATION ${_kv_staged})

add_library(kv_tinygltf STATIC ${CMAKE_CURRENT_LIST_DIR}/tinygltf_implementation.cpp)
# Images are never read or written: the stb libraries stay out.
target_compile_definitions(kv_tinygltf PUBLIC TINYGLTF_NO_STB_IMAGE TINYGLTF_NO_STB_IMAGE_WRITE
  TINYGLTF_NO_EXTERNAL_IMAGE)
# Third-party code: its warnings are not ours to fix.
target_include_directories(kv_tinygltf SYSTEM PUBLIC ${_kv_staged})
add_library(TinyGLTF::TinyGLTF ALIAS kv_tinygltf)
