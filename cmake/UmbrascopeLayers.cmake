# Each layer is a library whose public include root holds that layer's folder
# alone, so "#include "watch/..."" fails to compile anywhere that does not
# link the watch layer. Headers are still named from the layer's folder
# ("net/http_client.h"), as everywhere in the program.
function(umbrascope_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  file(MAKE_DIRECTORY ${root})
  get_filename_component(parent ${folder} DIRECTORY)
  if(parent)
    file(MAKE_DIRECTORY ${root}/${parent})
  endif()
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# A layer: a static library of the sources in its folder, linking the layers
# it builds on and seeing no others.
function(umbrascope_layer name)
  cmake_parse_arguments(LAYER "" "FOLDER" "SOURCES;LINKS" ${ARGN})
  if(NOT LAYER_FOLDER)
    set(LAYER_FOLDER ${name})
  endif()
  add_library(${name} STATIC ${LAYER_SOURCES})
  umbrascope_include_root(${name} ${LAYER_FOLDER})
  target_link_libraries(${name} PUBLIC ${LAYER_LINKS})
endfunction()
