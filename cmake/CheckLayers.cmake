# Holds every source file of the engine to the layer order of layers.txt: a file may include headers of
# its own folder and of the folders below it, never of a folder above it. Every folder that holds a
# source file must stand in the list, so a new folder cannot slip past the check.
#
#   cmake -DSRC=<folder of the sources> -DLAYERS=<layer list> -P CheckLayers.cmake
#
# Ends with an error that names each offending include; prints the number of files checked otherwise.
if(NOT SRC OR NOT LAYERS)
  message(FATAL_ERROR "CheckLayers.cmake needs -DSRC=<source folder> and -DLAYERS=<layer list>")
endif()
get_filename_component(SRC "${SRC}" ABSOLUTE)
get_filename_component(LAYERS "${LAYERS}" ABSOLUTE)

file(STRINGS "${LAYERS}" entries REGEX "^[^#]")
set(rank 0)
foreach(entry IN LISTS entries)
  string(STRIP "${entry}" entry)
  if(entry STREQUAL "")
    continue()
  endif()
  set(RANK_${entry} ${rank})
  math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
list(SORT sources)
set(faults "")
set(checked 0)
foreach(source IN LISTS sources)
  get_filename_component(folder "${source}" DIRECTORY)
  if(NOT DEFINED RANK_${folder})
    string(APPEND faults "\n  ${source}: folder '${folder}' is not in the layer list ${LAYERS}")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${SRC}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    get_filename_component(target "${header}" DIRECTORY)
    if(target STREQUAL "")
      set(target "${folder}")
    endif()
    if(NOT DEFINED RANK_${target})
      string(APPEND faults "\n  ${source} includes \"${header}\": '${target}' is not a layer")
    elseif(RANK_${target} GREATER RANK_${folder})
      string(APPEND faults "\n  ${source} includes \"${header}\": ${folder} may not reach up to ${target}")
    endif()
  endforeach()
endforeach()

if(NOT faults STREQUAL "")
  message(FATAL_ERROR "Includes that break the layer order:${faults}")
endif()
message(STATUS "Layer order kept by ${checked} source files")
