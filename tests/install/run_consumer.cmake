# Driver of the install_consumer test (cmake -P). Inputs, all -D: BUILD_DIR, CONFIG, WORK_DIR,
# CONSUMER_SOURCE, LIBDIR, GENERATOR, MAKE_PROGRAM, CXX, PKG_CONFIG, EXPECTED_VERSION.
cmake_minimum_required(VERSION 3.25)

set(prefix ${WORK_DIR}/prefix)
set(cmake_build ${WORK_DIR}/cmake-consumer)
set(pc_build ${WORK_DIR}/pkgconfig-consumer)
if(IS_ABSOLUTE "${LIBDIR}")
  message(FATAL_ERROR "install_consumer needs a relative CMAKE_INSTALL_LIBDIR, got ${LIBDIR}")
endif()
set(libdir ${prefix}/${LIBDIR})

# Runs one step; on failure prints its command and output and fails the test.
function(step name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " cmd)
    message(FATAL_ERROR "install_consumer: ${name} failed (${rc})\n$ ${cmd}\n${out}")
  endif()
  message(STATUS "${name}: ok")
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${pc_build})

set(config_args)
if(CONFIG)
  set(config_args --config ${CONFIG})
endif()
step("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} ${config_args})

# What an installation must contain: the headers, and each library as real file, SONAME link
# and development link.
foreach(file include/lumex/Statistics.h include/lumex/core/ops.h
             ${LIBDIR}/cmake/Lumex/LumexConfig.cmake ${LIBDIR}/cmake/Lumex/LumexConfigVersion.cmake
             ${LIBDIR}/pkgconfig/lumex.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "install_consumer: ${file} was not installed")
  endif()
endforeach()
string(REGEX MATCH "^[0-9]+" major "${EXPECTED_VERSION}")
foreach(lib lumexcore lumexstats)
  foreach(name lib${lib}.so lib${lib}.so.${major} lib${lib}.so.${EXPECTED_VERSION})
    if(NOT EXISTS ${libdir}/${name})
      message(FATAL_ERROR "install_consumer: ${LIBDIR}/${name} was not installed")
    endif()
  endforeach()
  file(READ_SYMLINK ${libdir}/lib${lib}.so.${major} target)
  if(NOT target STREQUAL "lib${lib}.so.${EXPECTED_VERSION}")
    message(FATAL_ERROR "install_consumer: lib${lib}.so.${major} points to ${target}")
  endif()
endforeach()

# 1. CMake: find_package(Lumex) must find the installed package, not anything else.
set(generator_args -G ${GENERATOR})
if(MAKE_PROGRAM)
  list(APPEND generator_args -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
endif()
step("configure consumer" ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${cmake_build}
     ${generator_args} -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release
     -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
file(STRINGS ${cmake_build}/CMakeCache.txt lumex_dir REGEX "^Lumex_DIR:")
string(REGEX REPLACE "^Lumex_DIR:[A-Z]+=" "" lumex_dir "${lumex_dir}")
if(NOT lumex_dir STREQUAL "${libdir}/cmake/Lumex")
  message(FATAL_ERROR "install_consumer: find_package(Lumex) used ${lumex_dir}")
endif()
step("build consumer (CMake)" ${CMAKE_COMMAND} --build ${cmake_build} --config Release)
if(EXISTS ${cmake_build}/Release/consumer)
  set(consumer ${cmake_build}/Release/consumer)
else()
  set(consumer ${cmake_build}/consumer)
endif()
step("run consumer (CMake)" ${consumer})
message(STATUS "${step_output}")

# 2. pkg-config: the same program built from the flags of lumex.pc alone.
set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
step("pkg-config --modversion" ${PKG_CONFIG} --modversion lumex)
string(STRIP "${step_output}" version)
if(NOT version STREQUAL EXPECTED_VERSION)
  message(FATAL_ERROR "install_consumer: lumex.pc says version ${version}")
endif()
step("pkg-config --cflags --libs" ${PKG_CONFIG} --cflags --libs lumex)
separate_arguments(pc_flags UNIX_COMMAND "${step_output}")
step("build consumer (pkg-config)" ${CXX} -O2 ${CONSUMER_SOURCE}/main.cpp ${pc_flags}
     -Wl,-rpath,${libdir} -o ${pc_build}/consumer)
step("run consumer (pkg-config)" ${pc_build}/consumer)
message(STATUS "${step_output}")
