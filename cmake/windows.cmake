# Windows build (mingw-w64, posix threads): static executables on the
# Windows Server 2003 API set. i686 ships, and the Wine tests run it (with
# FERNWICK_WINE_TESTS, which builds the test programs); x86_64 is built to
# keep the sources 64-bit clean.
add_compile_definitions(_WIN32_WINNT=0x0502 WINVER=0x0502 NOMINMAX WIN32_LEAN_AND_MEAN)
add_link_options(-static -static-libgcc -static-libstdc++)

# The platform layer (src/common, src/platform and its Windows
# implementations) links nothing above it; the core sits on it.
fernwick_sources(PLATFORM_SOURCES src/common src/platform src/platform/recording)
add_library(fernwick_platform STATIC ${PLATFORM_SOURCES})
target_include_directories(fernwick_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)

fernwick_sources(CORE_SOURCES src/probes src/launch src/report src/shell src/packaging src/redaction)
add_library(fernwick_core STATIC ${CORE_SOURCES})
target_link_libraries(fernwick_core PUBLIC fernwick_platform)

fernwick_sources(ODBC_SOURCES src/platform/odbc)
add_library(fernwick_odbc STATIC ${ODBC_SOURCES})
target_link_libraries(fernwick_odbc PUBLIC fernwick_platform odbc32)

fernwick_sources(WIN32_SOURCES src/platform/win32)
add_library(fernwick_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(fernwick_win32 PUBLIC fernwick_platform fernwick_odbc version netapi32 advapi32 shell32 user32 gdi32 comctl32 wininet ole32 oleaut32 uuid)

fernwick_sources(GUI_SOURCES src/frontend/win32)
add_executable(Fernwick WIN32 ${GUI_SOURCES} src/frontend/win32/fernwick.rc src/compat/server2003_kernel32.cpp)
target_link_libraries(Fernwick PRIVATE fernwick_win32 fernwick_core)
set_target_properties(Fernwick PROPERTIES OUTPUT_NAME Fernwick)

fernwick_sources(SERVICELIST_SOURCES src/servicelist src/servicelist/win32)
# src/compat is toolchain support that both programs need to load on
# Windows Server 2003; Tabulex takes nothing else outside src/servicelist.
add_executable(Tabulex ${SERVICELIST_SOURCES} src/compat/server2003_kernel32.cpp)
target_include_directories(Tabulex PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(Tabulex PRIVATE advapi32)

# Test programs that run under Wine: the shared test cases against the real
# Windows implementations, and the driver that operates the main window.
if(FERNWICK_WINE_TESTS)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  fernwick_sources(WINE_TEST_SOURCES tests/common tests/win32)
  add_executable(fernwick_wine_tests ${WINE_TEST_SOURCES})
  target_include_directories(fernwick_wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(fernwick_wine_tests PRIVATE fernwick_win32 fernwick_core gtest gtest_main)
  target_compile_options(fernwick_wine_tests PRIVATE -Wno-error=conversion)
  include(cmake/test_pe_files.cmake)

  add_executable(fdi_extract tests/wine/fdi/fdi_extract.cpp)
  target_link_libraries(fdi_extract PRIVATE cabinet)
  target_compile_options(fdi_extract PRIVATE -Wno-error)
  add_executable(cmdline_recorder tests/wine/recorder/cmdline_recorder.cpp)
  add_executable(start_command tests/wine/recorder/start_command.cpp)
  add_executable(browse_driver tests/wine/browse/browse_driver.cpp)
  target_link_libraries(browse_driver PRIVATE user32)
  target_compile_options(browse_driver PRIVATE -Wno-error)

  fernwick_sources(DRIVER_SOURCES tests/wine/driver)
  add_executable(guidriver ${DRIVER_SOURCES})
  target_link_libraries(guidriver PRIVATE user32 gdi32)

  add_executable(systeminfo_standin tests/wine/stand_ins/systeminfo_standin.cpp)
  add_executable(late_tabulex tests/wine/stand_ins/late_tabulex.cpp)
  add_executable(hold_file tests/wine/stand_ins/hold_file.cpp)

  add_executable(gathering_bench_win32 bench/gathering_bench_win32.cpp bench/gathering_timer.cpp
                 src/frontend/win32/win32_platform.cpp)
  target_include_directories(gathering_bench_win32 PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(gathering_bench_win32 PRIVATE fernwick_win32 fernwick_core)
endif()

# The About window's logos; the language libraries: resource-only DLLs beside
# Fernwick.exe that carry the windows' texts, installed with the program.
target_sources(Fernwick PRIVATE src/frontend/win32/about.rc)
foreach(code ENU DEU JPN)
  add_library(Fernwick_${code} SHARED src/frontend/win32/languages/Fernwick_${code}.rc)
  target_include_directories(Fernwick_${code} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  set_target_properties(Fernwick_${code} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(Fernwick_${code} PRIVATE -nostdlib -Wl,-e,0 -s)
  set_property(GLOBAL APPEND PROPERTY FERNWICK_DIST_TARGETS Fernwick_${code})
endforeach()
if(FERNWICK_WINE_TESTS)
  # Loaded by Wine into Fernwick's process through a window hook of guidriver.
  add_library(fontprobe SHARED tests/wine/fontprobe/fontprobe.cpp)
  set_target_properties(fontprobe PROPERTIES PREFIX "")
  target_link_libraries(fontprobe PRIVATE user32 gdi32)
  # guidriver finds the hook by its plain name; i686 would export FontProbeHook@12.
  target_link_options(fontprobe PRIVATE -Wl,--kill-at)
endif()
# cabmaker.exe, the CAB builder shipped beside Fernwick: the portable core
# and cabinet.dll's FCI.
fernwick_sources(CABMAKER_SOURCES src/cabmaker src/cabmaker/win32)
add_executable(cabmaker ${CABMAKER_SOURCES} src/compat/server2003_kernel32.cpp)
target_include_directories(cabmaker PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(cabmaker PRIVATE cabinet)
set_property(GLOBAL APPEND PROPERTY FERNWICK_DIST_TARGETS Fernwick Tabulex cabmaker)
# Every shipped program carries an execution level, so that UAC never
# redirects its writes to the VirtualStore: Fernwick.exe the highest its
# user has (an administrator is asked once, and then reads the event logs,
# the services and the install folder as support needs; another user still
# runs, and what is denied is recorded), the programs it starts that of
# their caller.
target_sources(Fernwick PRIVATE src/compat/manifests/highest_available.rc)
foreach(program Tabulex cabmaker)
  target_sources(${program} PRIVATE src/compat/manifests/as_invoker.rc)
endforeach()

# dumpel.exe, the event log dumper shipped beside Fernwick.
fernwick_sources(DUMPEL_SOURCES src/dumpel src/dumpel/win32)
list(FILTER DUMPEL_SOURCES EXCLUDE REGEX "image_event_log\\.cpp$")
add_executable(dumpel ${DUMPEL_SOURCES} src/compat/server2003_kernel32.cpp src/compat/manifests/as_invoker.rc)
target_include_directories(dumpel PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(dumpel PRIVATE advapi32)
set_property(GLOBAL APPEND PROPERTY FERNWICK_DIST_TARGETS dumpel)
include(cmake/help_page.cmake)
include(cmake/dist.cmake)
