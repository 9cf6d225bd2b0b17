# Resource scripts, compiled at build time by our resource compiler (tools/rc, target vlrc).
#
# vl_add_resources(target script.rc [ART part] [INCLUDE dir...] [DEFINES name=value...] [DEPENDS file...])
#   Compiles the script into a bundle and embeds it in the target (a program or a code library):
#   a generated source holds the bytes and registers them with the loader when the module loads.
#   The script's folder is searched for includes and data files; every file the compiler reads
#   (resource.h, bitmaps, icons) is a dependency, so the bundle follows their changes. ART names
#   the part of the generated art (tools/art: "program", "res0", "res1", "res2") whose art.rci the
#   script may include (default "program"); the art is drawn first.
#
# vl_add_resource_library(name script.rc [OUTPUT file] [ART part] [INCLUDE ...] [DEFINES ...] [DEPENDS ...])
#   Writes the bundle as a resource-only library file (default name: name.dll) into the folder
#   of the built programs, where LoadLibrary opens it as a data module. Built with ALL.

# Where the art generator writes (one folder per part).
set(VL_ART_DIR ${CMAKE_BINARY_DIR}/art CACHE INTERNAL "Folder of the generated art")

function(_vl_rc_arguments out_var script)
  cmake_parse_arguments(R "" "OUTPUT;ART" "INCLUDE;DEFINES;DEPENDS" ${ARGN})
  get_filename_component(_dir ${script} DIRECTORY)
  set(_args -I ${_dir})
  if(R_ART)
    list(APPEND _args -I ${VL_ART_DIR}/${R_ART})
  endif()
  foreach(_inc ${R_INCLUDE})
    list(APPEND _args -I ${_inc})
  endforeach()
  foreach(_def ${R_DEFINES})
    list(APPEND _args -D ${_def})
  endforeach()
  set(${out_var} ${_args} PARENT_SCOPE)
endfunction()

# The art a script of the given part needs before it compiles.
function(_vl_rc_art_depends out_var part)
  if(part)
    set(${out_var} ${VL_ART_DIR}/stamp PARENT_SCOPE)
  else()
    set(${out_var} "" PARENT_SCOPE)
  endif()
endfunction()

function(vl_add_resources target script)
  cmake_parse_arguments(R "" "ART" "INCLUDE;DEFINES;DEPENDS" ${ARGN})
  if(NOT R_ART)
    set(R_ART program)
    list(APPEND ARGN ART program)
  endif()
  get_filename_component(_script ${script} ABSOLUTE)
  get_filename_component(_name ${_script} NAME_WE)
  # A module holds one bundle: the loader reads one per module.
  get_target_property(_previous ${target} VL_RESOURCE_SCRIPT)
  if(_previous)
    message(FATAL_ERROR "${target} already has the resources of ${_previous}; a module has one script "
                        "(#include the others into it)")
  endif()
  set_target_properties(${target} PROPERTIES VL_RESOURCE_SCRIPT ${_script})
  _vl_rc_arguments(_args ${_script} ${ARGN})
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${_name}_rc.cpp)
  _vl_rc_art_depends(_art "${R_ART}")
  add_custom_command(
    OUTPUT ${_out}
    COMMAND vlrc ${_args} --embed ${_out} --depfile ${_out}.d ${_script}
    DEPENDS vlrc ${_script} ${R_DEPENDS} ${_art}
    DEPFILE ${_out}.d
    COMMENT "Compiling resources of ${target} (${_name}.rc)"
    VERBATIM)
  target_sources(${target} PRIVATE ${_out})
  # The generated registration is the platform's glue, not product code: it reaches the
  # platform's host-facing resource table.
  set_source_files_properties(${_out} PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/platform/win32/host-include)
  target_link_libraries(${target} PRIVATE win32)
  if(R_ART)
    add_dependencies(${target} vl_art)
  endif()
endfunction()

function(vl_add_resource_library name script)
  cmake_parse_arguments(R "" "OUTPUT;ART" "INCLUDE;DEFINES;DEPENDS" ${ARGN})
  get_filename_component(_script ${script} ABSOLUTE)
  _vl_rc_arguments(_args ${_script} ${ARGN})
  if(NOT R_OUTPUT)
    set(R_OUTPUT ${name}.dll)
  endif()
  set(_out ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/${R_OUTPUT})
  _vl_rc_art_depends(_art "${R_ART}")
  add_custom_command(
    OUTPUT ${_out}
    COMMAND vlrc ${_args} -o ${_out} --depfile ${CMAKE_CURRENT_BINARY_DIR}/${R_OUTPUT}.d ${_script}
    DEPENDS vlrc ${_script} ${R_DEPENDS} ${_art}
    DEPFILE ${CMAKE_CURRENT_BINARY_DIR}/${R_OUTPUT}.d
    COMMENT "Compiling resource library ${R_OUTPUT}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${_out})
  if(R_ART)
    add_dependencies(${name} vl_art)
  endif()
endfunction()
