include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

get_property(public_headers GLOBAL PROPERTY LABARC_PUBLIC_HEADERS)
foreach(header IN LISTS public_headers)
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/labarc/${dir})
endforeach()

install(TARGETS labarc EXPORT labarcTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/labarc)
install(EXPORT labarcTargets NAMESPACE labarc:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/labarcConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/labarcConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/labarcConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/labarcConfig.cmake ${PROJECT_BINARY_DIR}/labarcConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/labarc)
