# Resource-only libraries built from tests/fixtures/pe/*.rc: real PE files
# with version resources for the file-version tests on both sides. Natively
# they come from the mingw tools and their folder reaches fernwick_tests as
# FERNWICK_TEST_PE_DIR; in the Windows build they are ordinary targets that
# tests/wine/fileversion_test.sh copies into the Wine prefix.
file(GLOB FERNWICK_TEST_PE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/pe/*.rc)
set(FERNWICK_TEST_PE_DIR ${CMAKE_BINARY_DIR}/test_pe)
# No C runtime and no entry point: the libraries only carry resources.
set(FERNWICK_TEST_PE_LINK_OPTIONS -nostdlib -s -Wl,--entry=0)

if(WIN32)
  foreach(rc IN LISTS FERNWICK_TEST_PE_SOURCES)
    get_filename_component(name ${rc} NAME_WE)
    add_library(test_pe_${name} SHARED ${rc})
    set_target_properties(test_pe_${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name} LINKER_LANGUAGE C
                          RUNTIME_OUTPUT_DIRECTORY ${FERNWICK_TEST_PE_DIR})
    target_link_options(test_pe_${name} PRIVATE ${FERNWICK_TEST_PE_LINK_OPTIONS})
    add_dependencies(fernwick_wine_tests test_pe_${name})
  endforeach()
else()
  find_program(FERNWICK_MINGW_WINDRES x86_64-w64-mingw32-windres REQUIRED)
  find_program(FERNWICK_MINGW_GCC x86_64-w64-mingw32-gcc REQUIRED)
  set(dlls)
  foreach(rc IN LISTS FERNWICK_TEST_PE_SOURCES)
    get_filename_component(name ${rc} NAME_WE)
    set(object ${FERNWICK_TEST_PE_DIR}/${name}.res.o)
    set(dll ${FERNWICK_TEST_PE_DIR}/${name}.dll)
    add_custom_command(OUTPUT ${dll}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${FERNWICK_TEST_PE_DIR}
                       COMMAND ${FERNWICK_MINGW_WINDRES} -i ${rc} -o ${object}
                       COMMAND ${FERNWICK_MINGW_GCC} -shared ${FERNWICK_TEST_PE_LINK_OPTIONS} -o ${dll} ${object}
                       DEPENDS ${rc}
                       COMMENT "Building test library ${name}.dll"
                       VERBATIM)
    list(APPEND dlls ${dll})
  endforeach()
  add_custom_target(fernwick_test_pe_files ALL DEPENDS ${dlls})
  add_dependencies(fernwick_tests fernwick_test_pe_files)
  target_compile_definitions(fernwick_tests PRIVATE FERNWICK_TEST_PE_DIR="${FERNWICK_TEST_PE_DIR}")
endif()
