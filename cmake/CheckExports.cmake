# Driver of the exported_symbols test (cmake -P). Fails unless every dynamic symbol that each of
# LIBRARIES defines belongs to the public lumex API: a function or member of namespace lumex
# outside lumex::detail, or the type information or virtual table of a lumex class. No Eigen,
# Boost or standard-library instantiation may be exported: a program that links its own copy
# must never bind to ours. Inputs, all -D: NM, LIBRARIES (a list).
cmake_minimum_required(VERSION 3.25)

foreach(lib IN LISTS LIBRARIES)
  execute_process(COMMAND ${NM} -D --defined-only ${lib}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "exported_symbols: ${NM} failed on ${lib}\n${err}")
  endif()
  string(REPLACE "\n" ";" lines "${out}")
  set(count 0)
  set(foreign "")
  foreach(line IN LISTS lines)
    if(line STREQUAL "")
      continue()
    endif()
    string(REGEX REPLACE "^.* " "" symbol "${line}")
    math(EXPR count "${count} + 1")
    # _ZN/_ZNK: (const) functions and members; _ZTI, _ZTS, _ZTV: type information, its name and
    # the virtual table of a class.
    set(prefix "^_Z(N|NK|TIN|TSN|TVN)5lumex")
    if(NOT symbol MATCHES "${prefix}" OR symbol MATCHES "${prefix}6detail")
      string(APPEND foreign "  ${symbol}\n")
    endif()
  endforeach()
  if(foreign)
    message(FATAL_ERROR
            "exported_symbols: ${lib} exports symbols outside the public API:\n${foreign}")
  endif()
  message(STATUS "${lib}: ${count} dynamic symbols, all of the public lumex API")
endforeach()
