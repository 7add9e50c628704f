# Installs the program as a desktop program: the executable, its launcher
# entry, its icon in the hicolor theme at every size we draw, and the
# AppStream metadata that software centres read.
include(GNUInstallDirs)

set(PWH_APP_ID io.github.pennywhistle.Pennywhistle)

install(TARGETS pennywhistle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PWH_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PWH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/../program_icon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PWH_APP_ID}.png)
endforeach()
