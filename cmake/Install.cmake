# cmake --install: the game laid out as a Linux program (DESTDIR is honoured).
#   bin/korvelin, bin/korvelin-assets
#   share/korvelin/{data,Shader}         found as ../share/korvelin from bin/
#   share/locale/LANG/LC_MESSAGES/korvelin.mo  the game's words in other languages
#   share/applications/ID.desktop, share/metainfo/ID.metainfo.xml
#   share/icons/hicolor/NxN/apps/ID.png
#   share/man/man6/{korvelin,korvelin-assets}.6, share/man/ja/man6/korvelin.6 (the Japanese page)
# The program finds its data relative to its own folder, so an installed tree can be moved.
set(KORVELIN_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/korvelin)

# Everything is looked for before anything is copied: from a build that lacks a part, the
# install stops at once and says what to build, instead of half-way with a prefix half filled.
set(parts $<TARGET_FILE:korvelin> $<TARGET_FILE:korvelin-assets> ${KORVELIN_GAME_DIR}/data/.assetgen-stamp
          ${KORVELIN_GAME_DIR}/Shader ${KORVELIN_CATALOGUES})
foreach(size ${KORVELIN_ICON_SIZES})
  list(APPEND parts ${KORVELIN_ICON_DIR}/korvelin-${size}.png)
endforeach()
install(CODE "
  set(parts [[${parts}]])
  foreach(part IN LISTS parts)
    if(NOT EXISTS \"\${part}\")
      message(FATAL_ERROR \"Nothing installed: \${part} is missing. Build it first: cmake --build ${CMAKE_BINARY_DIR} --target game\")
    endif()
  endforeach()")

install(TARGETS korvelin korvelin-assets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The game never writes there (the editor saves in the user's folder). The generator's stamp is
# the build's business, not the game's.
install(DIRECTORY ${KORVELIN_GAME_DIR}/data ${KORVELIN_GAME_DIR}/Shader
        DESTINATION ${KORVELIN_DATA_INSTALL_DIR}
        PATTERN .assetgen-stamp EXCLUDE)
install(DIRECTORY ${KORVELIN_LOCALE_DIR}/ DESTINATION ${CMAKE_INSTALL_LOCALEDIR})

set(dist ${PROJECT_SOURCE_DIR}/dist)
set(generated ${CMAKE_BINARY_DIR}/dist)
configure_file(${dist}/korvelin.desktop.in ${generated}/${KORVELIN_APP_ID}.desktop @ONLY)
configure_file(${dist}/korvelin.metainfo.xml.in ${generated}/${KORVELIN_APP_ID}.metainfo.xml @ONLY)
configure_file(${dist}/korvelin.6.in ${generated}/korvelin.6 @ONLY)
configure_file(${dist}/korvelin.ja.6.in ${generated}/ja/korvelin.6 @ONLY)
configure_file(${dist}/korvelin-assets.6.in ${generated}/korvelin-assets.6 @ONLY)
install(FILES ${generated}/${KORVELIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${KORVELIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/korvelin.6 ${generated}/korvelin-assets.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${generated}/ja/korvelin.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
foreach(size ${KORVELIN_ICON_SIZES})
  install(FILES ${KORVELIN_ICON_DIR}/korvelin-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KORVELIN_APP_ID}.png)
endforeach()

# cmake --build build --target uninstall: removes what the last install put down.
if(NOT TARGET uninstall)
  add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing the installed files"
    VERBATIM)
endif()
