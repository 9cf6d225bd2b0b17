# Exports by ordinal of a code library, from a module-definition file.
#
# vl_add_exports(target file.def)
#   The file lists the library's exports as the platform's linker reads them:
#       EXPORTS
#           dlrGetBrowser @6
#           dlrSetBrowser @7
#   (comments start with ';'). A generated source gives the library its ordinal table
#   (host/Exports.h), through which GetProcAddress(module, MAKEINTRESOURCE(n)) finds export n;
#   the names themselves must be visible symbols of the library. An ordinal used twice, or a
#   line that does not read, stops the configuration.
function(vl_add_exports target def)
  get_filename_component(_def ${def} ABSOLUTE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_def})
  file(STRINGS ${_def} _lines)
  set(_entries "")
  set(_seen "")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE ";.*" "" _line "${_line}")
    string(STRIP "${_line}" _line)
    if(_line STREQUAL "" OR _line MATCHES "^(EXPORTS|LIBRARY)( |$)")
      continue()
    endif()
    if(NOT _line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)[ \t]+@([0-9]+)$")
      message(FATAL_ERROR "${_def}: cannot read \"${_line}\" (expected: name @ordinal)")
    endif()
    set(_name ${CMAKE_MATCH_1})
    set(_ordinal ${CMAKE_MATCH_2})
    if(_ordinal IN_LIST _seen OR _ordinal EQUAL 0 OR _ordinal GREATER 65535)
      message(FATAL_ERROR "${_def}: ordinal ${_ordinal} of ${_name} is used twice or out of range")
    endif()
    list(APPEND _seen ${_ordinal})
    string(APPEND _entries "    {${_ordinal}, \"${_name}\"},\n")
  endforeach()
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/${target}_exports.cpp)
  file(CONFIGURE OUTPUT ${_out} CONTENT
"// Generated from ${_def}: the ordinal table of ${target}.
#include <host/Exports.h>

VL_EXPORT_TABLE = {
${_entries}    {0, nullptr},
};
" @ONLY)
  target_sources(${target} PRIVATE ${_out})
  # The table is the platform's glue, not product code: it reaches the platform's host-facing
  # header of the loader.
  set_source_files_properties(${_out} PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/platform/win32/host-include)
  # Every library's table has the same name: the address sanitizer would take two loaded
  # libraries' tables for one symbol defined twice. The table is constant data; it needs no
  # instrumentation.
  if(VL_SANITIZE)
    set_source_files_properties(${_out} PROPERTIES COMPILE_OPTIONS -fno-sanitize=address)
  endif()
endfunction()
