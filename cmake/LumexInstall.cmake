# Installation: headers, the two shared libraries, a CMake package (find_package(Lumex) gives
# Lumex::core and Lumex::stats) and a pkg-config file (lumex.pc).

include(CMakePackageConfigHelpers)

# The public headers are written in C++20; consumers of the installed targets get the standard
# from the targets themselves.
target_compile_features(lumexcore INTERFACE cxx_std_20)

set(LUMEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumex)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/lumex
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT Development
        FILES_MATCHING PATTERN "*.h")

install(TARGETS lumexcore lumexstats
        EXPORT LumexTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
                COMPONENT Runtime
                NAMELINK_COMPONENT Development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

install(EXPORT LumexTargets
        NAMESPACE Lumex::
        FILE LumexTargets.cmake
        DESTINATION ${LUMEX_CMAKE_DIR}
        COMPONENT Development)

# The public headers need only the standard library (Eigen and Boost stay behind the shared
# libraries), so the package config has no dependencies to find.
set(LUMEX_CONFIG_IN ${PROJECT_BINARY_DIR}/LumexConfig.cmake.in)
file(WRITE ${LUMEX_CONFIG_IN} [=[
@PACKAGE_INIT@

include("${CMAKE_CURRENT_LIST_DIR}/LumexTargets.cmake")
check_required_components(Lumex)
]=])
configure_package_config_file(${LUMEX_CONFIG_IN} ${PROJECT_BINARY_DIR}/LumexConfig.cmake
                              INSTALL_DESTINATION ${LUMEX_CMAKE_DIR})
# The shared libraries carry the major version in their SONAME, so that is the compatibility
# promise of the package too.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumexConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION}
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumexConfig.cmake ${PROJECT_BINARY_DIR}/LumexConfigVersion.cmake
        DESTINATION ${LUMEX_CMAKE_DIR}
        COMPONENT Development)

# lumex.pc names absolute directories, but the prefix is only known for certain at install time
# (`cmake --install build --prefix DIR` overrides the configured one). The file is made here with
# a placeholder for the prefix, filled in at install time, and then installed.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
set(LUMEX_PC_IN ${PROJECT_BINARY_DIR}/lumex.pc.in)
set(LUMEX_PC_OUT ${PROJECT_BINARY_DIR}/pkgconfig/lumex.pc)
file(CONFIGURE OUTPUT ${LUMEX_PC_IN} @ONLY CONTENT [=[
prefix=%PREFIX%
libdir=@PC_LIBDIR@
includedir=@PC_INCLUDEDIR@

Name: Lumex
Description: @PROJECT_DESCRIPTION@
Version: @PROJECT_VERSION@
Libs: -L${libdir} -llumexstats -llumexcore
Cflags: -I${includedir} -std=c++20
]=])
install(CODE "
  file(READ [[${LUMEX_PC_IN}]] pc)
  string(REPLACE %PREFIX% \"\${CMAKE_INSTALL_PREFIX}\" pc \"\${pc}\")
  file(WRITE [[${LUMEX_PC_OUT}]] \"\${pc}\")
" COMPONENT Development)
install(FILES ${LUMEX_PC_OUT}
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT Development)
