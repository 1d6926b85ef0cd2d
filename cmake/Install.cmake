# Where the programs and their desktop pieces go on install.
# Every rule is guarded: the tree is configured while parts of it are still
# missing, and a build without the windows (or for Windows) installs less.

include(GNUInstallDirs)

set(ORVELIN_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}/../packaging")
set(ORVELIN_RESOURCES_DIR "${CMAKE_CURRENT_LIST_DIR}/../resources")

foreach(program IN ITEMS orvelin orvelin-codec)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Desktop integration only makes sense on a freedesktop system.
if(NOT UNIX OR APPLE)
  return()
endif()

if(TARGET orvelin-codec)
  install(FILES "${ORVELIN_PACKAGING_DIR}/orvelin-codec.1"
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES "${ORVELIN_PACKAGING_DIR}/copyright"
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(NOT TARGET orvelin)
  return()
endif()

install(FILES "${ORVELIN_PACKAGING_DIR}/orvelin.1"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${ORVELIN_PACKAGING_DIR}/orvelin.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${ORVELIN_PACKAGING_DIR}/org.example.Orvelin.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon files are drawn separately; install those that exist.
set(ORVELIN_ICON_THEME_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size IN ITEMS 16 32 48)
  set(icon "${ORVELIN_RESOURCES_DIR}/orvelin-${size}.png")
  if(EXISTS "${icon}")
    install(FILES "${icon}" RENAME orvelin.png
            DESTINATION ${ORVELIN_ICON_THEME_DIR}/${size}x${size}/apps)
  endif()
endforeach()
if(EXISTS "${ORVELIN_RESOURCES_DIR}/orvelin.svg")
  install(FILES "${ORVELIN_RESOURCES_DIR}/orvelin.svg"
          DESTINATION ${ORVELIN_ICON_THEME_DIR}/scalable/apps)
endif()
