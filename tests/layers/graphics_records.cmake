# Fails when a graphics library holds writable data outside its records: every
# value graphics keeps lives in one record, so a newcomer finds it, its
# lifetime and its writer in one place (docs/architecture.md).
# Usage: cmake -DNM=<nm> -DLIBRARY=<archive> -DRECORDS=<a;b;...> -P graphics_records.cmake
cmake_minimum_required(VERSION 3.18)
execute_process(COMMAND ${NM} -C --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} could not list ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(found 0)
foreach(line IN LISTS lines)
  # Writable data: initialised (D, d), zeroed (B, b), common (C), small (G, g, S, s).
  if(NOT line MATCHES "^[0-9a-fA-F]* +[BbDdCGgSs] +(.+)$")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  # What the compiler adds for itself: sanitizer and coverage tables, the
  # function types the undefined-behaviour checks compare, guards
  # of function-local constants.
  if(name MATCHES "^(__|\\.|guard variable|typeinfo)")
    continue()
  endif()
  string(REPLACE "(anonymous namespace)::" "" bare "${name}")
  # A record clang split into its members: "display (.0)", or left mangled
  # as _ZN12_GLOBAL__N_17displayE.0 by an older nm.
  string(REGEX REPLACE " \\(\\.[0-9]+\\)$" "" bare "${bare}")
  if(bare MATCHES "^_ZN12_GLOBAL__N_1[0-9]+([A-Za-z_][A-Za-z_0-9]*)E\\.[0-9]+$")
    set(bare "${CMAKE_MATCH_1}")
  endif()
  if(NOT bare IN_LIST RECORDS)
    message("${LIBRARY}: ${name} is graphics state outside its records")
    set(found 1)
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "keep it in one of the records: ${RECORDS}")
endif()
