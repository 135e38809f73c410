# The program is built as one static library per source folder, each linked
# to the libraries below it only:
#
#   brindle_platform_api  <-  brindle_gfx, brindle_input, brindle_map
#                         <-  brindle_settings  <-  brindle_dialogs  <-  brindle_editor  <-  brindle_app
#
# (settings builds on map; the editor also on gfx and input.)
#
# A library compiles with its own include root and those of what it links, and
# nothing else: include/<folder>/<folder> in the build tree is a link to
# src/<folder>, so "gfx/gfx.h" is found from gfx and everything above it, and
# "editor/editor.h" is simply not there for gfx, input, map or platform. An
# include that points upwards fails to compile (tests/layers/ tries every such
# edge).

# brindle_layer(<target> FOLDERS <folder>... [DEPENDS <target>...])
# A static library of every source in src/<folder>/, exposing those folders
# (and, through DEPENDS, the libraries it builds on) to whoever links it.
function(brindle_layer target)
  cmake_parse_arguments(LAYER "" "" "FOLDERS;DEPENDS" ${ARGN})
  set(sources "")
  foreach(folder IN LISTS LAYER_FOLDERS)
    file(GLOB folder_sources CONFIGURE_DEPENDS
      ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
    list(APPEND sources ${folder_sources})
  endforeach()
  # The entry point belongs to the editor program alone, not to the tests.
  list(FILTER sources EXCLUDE REGEX ".*/src/app/main\\.cpp$")
  add_library(${target} STATIC ${sources})
  foreach(folder IN LISTS LAYER_FOLDERS)
    set(root ${CMAKE_BINARY_DIR}/include/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
  endforeach()
  if(LAYER_DEPENDS)
    target_link_libraries(${target} PUBLIC ${LAYER_DEPENDS})
  endif()
endfunction()
