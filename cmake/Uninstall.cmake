# Removes every file of the last install, as its manifest names them, below $DESTDIR when that
# is set (as it was for the install), then the game's own data folder. Run by the "uninstall"
# target.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to remove: ${MANIFEST} is missing (run cmake --install first)")
endif()
file(STRINGS "${MANIFEST}" files)
set(folders)
foreach(file ${files})
  set(file "$ENV{DESTDIR}${file}")
  if(IS_SYMLINK "${file}" OR EXISTS "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
  if(file MATCHES "^(.*/korvelin)/(data|Shader)/")
    list(APPEND folders "${CMAKE_MATCH_1}")
  endif()
endforeach()
# The data tree's folders are the game's alone; shared folders (bin, icons, man) stay.
list(REMOVE_DUPLICATES folders)
foreach(folder ${folders})
  file(REMOVE_RECURSE "${folder}")
endforeach()
