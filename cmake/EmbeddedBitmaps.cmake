# vt_embed_bitmaps(<target> <script.rc>)
#
# Gives a library the bitmaps its resource script names, loaded by id through
# the library's own module handle. The script lists one picture a line:
#
#     101 BITMAP "background.bmp"
#
# with the file relative to the script. Windows builds compile the script.
# Other builds compile the files' bytes into a generated source whose
# load-time initialiser registers them with the platform layer under the
# library's module handle, and whose finaliser withdraws them when the library
# goes. Either way the script is the one list of the library's pictures.

set(VT_BITMAP_SOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GenerateBitmapSource.cmake)

function(vt_embed_bitmaps target script)
  if(NOT ARGN STREQUAL "")
    message(FATAL_ERROR "vt_embed_bitmaps(<target> <script.rc>): unexpected arguments ${ARGN}")
  endif()
  get_filename_component(script ${script} ABSOLUTE)
  get_filename_component(folder ${script} DIRECTORY)
  # Reconfigure when the list of pictures changes.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})

  set(bitmap_pattern "^[ \t]*([0-9]+)[ \t]+BITMAP[ \t]+\"([^\"]+)\"[ \t]*$")
  file(STRINGS ${script} entries REGEX "${bitmap_pattern}")
  if(entries STREQUAL "")
    message(FATAL_ERROR "vt_embed_bitmaps(${target}): ${script} names no bitmap")
  endif()
  set(ids)
  set(files)
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "${bitmap_pattern}" _ "${entry}")
    set(id ${CMAKE_MATCH_1})
    get_filename_component(file ${CMAKE_MATCH_2} ABSOLUTE BASE_DIR ${folder})
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "vt_embed_bitmaps(${target}): ${script} names ${file}, which does not exist")
    endif()
    if(id IN_LIST ids)
      message(FATAL_ERROR "vt_embed_bitmaps(${target}): ${script} names bitmap ${id} twice")
    endif()
    list(APPEND ids ${id})
    list(APPEND files ${file})
  endforeach()

  if(WIN32)
    target_sources(${target} PRIVATE ${script})
    # The resource compiler finds the pictures beside the script, and the
    # resources are rebuilt when a picture changes.
    set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES
      INCLUDE_DIRECTORIES ${folder}
      OBJECT_DEPENDS "${files}")
    return()
  endif()

  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps.cpp)
  # A list would be split into separate arguments on the command line.
  string(REPLACE ";" "$<SEMICOLON>" id_list "${ids}")
  string(REPLACE ";" "$<SEMICOLON>" file_list "${files}")
  add_custom_command(
    OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${source}" "-DIDS=${id_list}" "-DFILES=${file_list}"
            -P ${VT_BITMAP_SOURCE_SCRIPT}
    DEPENDS ${files} ${VT_BITMAP_SOURCE_SCRIPT}
    COMMENT "Embedding the bitmaps of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
  target_link_libraries(${target} PRIVATE vt_effect vtplatform)
endfunction()
