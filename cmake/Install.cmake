include(CMakePackageConfigHelpers)

install(TARGETS labarc EXPORT labarcTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT labarc_development
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT labarc_runtime
                NAMELINK_COMPONENT labarc_development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT labarc_runtime
        # The public headers keep their tree path: include/labarc/archive/archive_ex.h.
        FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT labarc_development)
install(EXPORT labarcTargets NAMESPACE labarc:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc
        COMPONENT labarc_development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/labarcConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/labarcConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/labarcConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/labarcConfig.cmake ${PROJECT_BINARY_DIR}/labarcConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc COMPONENT labarc_development)

# pkg-config, for builds that do not use CMake. Paths are relative to the installed .pc file, so
# the installed tree can be moved.
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
set(pc_prefix "\${pcfiledir}/${pc_to_prefix}")
string(REGEX REPLACE "/$" "" pc_prefix "${pc_prefix}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(pc_includedir "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(pc_includedir "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(pc_libdir "${CMAKE_INSTALL_LIBDIR}")
else()
  set(pc_libdir "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
set(pc_cflags "-I\${includedir}")
if(BUILD_SHARED_LIBS)
  string(APPEND pc_cflags " -DLABARC_SHARED")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/labarc.pc.in ${PROJECT_BINARY_DIR}/labarc.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/labarc.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT labarc_development)
