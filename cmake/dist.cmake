# The distribution folder: exactly what is installed beside Fernwick.exe on
# a server: every target in the global property FERNWICK_DIST_TARGETS,
# every file in shipped/ and the help page (cmake/help_page.cmake). Laid out by the target `dist` (scripts/build.sh
# builds it), after all CMake files have added their targets.
function(fernwick_add_dist_target)
  get_property(targets GLOBAL PROPERTY FERNWICK_DIST_TARGETS)
  list(REMOVE_DUPLICATES targets)
  set(dist ${CMAKE_BINARY_DIR}/dist)
  set(copies)
  foreach(target IN LISTS targets)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${dist}/)
  endforeach()
  add_custom_target(dist
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dist}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist}
    ${copies}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/shipped ${dist}
    COMMAND ${CMAKE_COMMAND} -E copy ${FERNWICK_HELP_PAGE} ${dist}/
    DEPENDS ${targets} ${FERNWICK_HELP_PAGE}
    COMMENT "Distribution folder ${dist}"
    VERBATIM)
  add_dependencies(dist help_page)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL fernwick_add_dist_target)
