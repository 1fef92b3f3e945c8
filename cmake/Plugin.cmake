# vt_add_plugin(<Name> SOURCES ... LIBS ...)
# Builds <Name>.so / <Name>.dll with its own copy of the frame, exporting the
# entry point under its two names and nothing else.
function(vt_add_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/framework/effect/PluginEntry.cpp)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${name}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${name} PRIVATE vt_flags ${ARG_LIBS} vt_effect)
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/framework/effect/exports.def)
  else()
    target_link_options(${name} PRIVATE
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/framework/effect/exports.map
      -Wl,--no-undefined)
    set_target_properties(${name} PROPERTIES
      BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN" SUFFIX ".so")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS
      ${PROJECT_SOURCE_DIR}/framework/effect/exports.map)
  endif()
endfunction()
