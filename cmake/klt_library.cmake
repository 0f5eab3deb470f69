# One library per source folder. A library sees its own folder's headers and those of the
# libraries it links, nothing else: each library gets an include folder of its own holding one
# link to its source folder, and passes it on to whoever links it. An include of a folder the
# library does not link is then a build error, not a silent new edge.
function(klt_expose target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(name ${folder} NAME)
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${name})
    file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  endif()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# klt_library(NAME [SOURCES files...] [LINKS libraries...]): a static library made of the given
# sources, exposing the folder of the calling CMakeLists.txt.
function(klt_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${arg_SOURCES})
  klt_expose(${name} ${CMAKE_CURRENT_SOURCE_DIR})
  if(arg_LINKS)
    target_link_libraries(${name} PUBLIC ${arg_LINKS})
  endif()
endfunction()
