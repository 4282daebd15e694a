# quorvel_add_folders(folder ...): adds the listed subfolders of the current
# source folder. A listed folder without a CMakeLists.txt stops the
# configuration, and so does a subfolder with one that is not listed, so that
# no folder is skipped without a word.
function(quorvel_add_folders)
  set(listed ${ARGN})
  foreach(folder ${listed})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      message(FATAL_ERROR
        "${CMAKE_CURRENT_SOURCE_DIR}/${folder}: listed, but it has no CMakeLists.txt")
    endif()
    add_subdirectory(${folder})
  endforeach()

  file(GLOB present RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(file ${present})
    get_filename_component(folder ${file} DIRECTORY)
    if(NOT folder IN_LIST listed)
      message(FATAL_ERROR
        "${CMAKE_CURRENT_SOURCE_DIR}/${folder}: has a CMakeLists.txt but is not listed in "
        "${CMAKE_CURRENT_LIST_FILE}")
    endif()
  endforeach()
endfunction()
