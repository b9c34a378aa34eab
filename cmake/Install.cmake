# What `cmake --install` puts in place: the three programs, Norvix's desktop
# entry and icon, and the examples that ship with the suite.  Each rule
# applies only to what this build has (SUITE_AREAS may leave programs out).
include(GNUInstallDirs)

foreach(program norvix velloq projbase)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET velloq_windowed)
  install(TARGETS velloq_windowed RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/velloq)
endif()

if(TARGET norvix)
  install(FILES ${SUITE_ROOT}/resources/norvix/norvix.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${SUITE_ROOT}/resources/norvix/norvix.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
endif()

install(DIRECTORY ${SUITE_ROOT}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/knowledge-suite/examples)
