# Runs at install time (cmake --install, cpack): copies the files that lie
# beside the programs in the build's bin folder into the program folder.
# Set by the caller: TUVANTA_BIN_DIR, TUVANTA_INSTALL_DIR, TUVANTA_BESIDE_FILES,
# TUVANTA_BESIDE_DIRS. What the user made there (Tuvanta.ini, parameter files,
# exchange files of a measurement) matches none of the patterns and stays out.
set(files)
foreach(pattern IN LISTS TUVANTA_BESIDE_FILES)
  file(GLOB found LIST_DIRECTORIES false "${TUVANTA_BIN_DIR}/${pattern}")
  list(APPEND files ${found})
endforeach()
list(REMOVE_DUPLICATES files)
set(destination "${CMAKE_INSTALL_PREFIX}/${TUVANTA_INSTALL_DIR}")
if(files)
  file(INSTALL ${files} DESTINATION "${destination}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
foreach(dir IN LISTS TUVANTA_BESIDE_DIRS)
  if(IS_DIRECTORY "${TUVANTA_BIN_DIR}/${dir}")
    file(INSTALL "${TUVANTA_BIN_DIR}/${dir}" DESTINATION "${destination}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
         DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                               WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
