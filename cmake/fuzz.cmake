# The libFuzzer targets: every fuzz/<name>_fuzz.cpp becomes the program
# <name>_fuzz, linked against the portable core, the image platform and the
# packaging programs' cores with all their libraries. A new target needs no edit here. `fuzz_targets`
# builds them all without the tests and the front end.
file(GLOB FERNWICK_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
add_custom_target(fuzz_targets)
foreach(source IN LISTS FERNWICK_FUZZ_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE fernwick_native)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(fuzz_targets ${name})
endforeach()
