# Removes every file of the last install, as its manifest names them, below $DESTDIR when that
# is set (as it was for the install), then every folder those files lay in that is left empty,
# and its parents while they are empty too, up to the prefix: the deepest folder that holds
# every file of the manifest (bin/ and share/ sit side by side below it). The prefix stays, and
# so does any folder that still holds something (someone else's icons, the user's own files).
# Run by the "uninstall" target.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to remove: ${MANIFEST} is missing (run cmake --install first)")
endif()
file(STRINGS "${MANIFEST}" files)
if(NOT files)
  message(FATAL_ERROR "Nothing to remove: ${MANIFEST} names no file")
endif()

# The prefix: the longest folder path that every file lies below.
list(GET files 0 prefix)
cmake_path(GET prefix PARENT_PATH prefix)
foreach(file ${files})
  cmake_path(IS_PREFIX prefix "${file}" below)
  while(NOT below)
    cmake_path(GET prefix PARENT_PATH prefix)
    cmake_path(IS_PREFIX prefix "${file}" below)
  endwhile()
endforeach()

set(folders)
foreach(file ${files})
  set(path "$ENV{DESTDIR}${file}")
  if(IS_SYMLINK "${path}" OR EXISTS "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
  cmake_path(GET file PARENT_PATH folder)
  list(APPEND folders "${folder}")
endforeach()
list(REMOVE_DUPLICATES folders)

# rmdir removes a folder only when it is empty: nothing anyone else put there goes. A folder
# whose emptied subfolder comes later in the list is tried again when that one is removed.
foreach(folder ${folders})
  cmake_path(IS_PREFIX prefix "${folder}" below)
  while(below AND NOT folder STREQUAL prefix)
    execute_process(COMMAND rmdir -- "$ENV{DESTDIR}${folder}" RESULT_VARIABLE kept OUTPUT_QUIET ERROR_QUIET)
    if(kept)
      break()
    endif()
    message(STATUS "Removing the empty folder $ENV{DESTDIR}${folder}")
    cmake_path(GET folder PARENT_PATH folder)
  endwhile()
endforeach()
