# Native Linux build: the portable core, the server-image platform, the `fernwick`
# command and the native tests, all under AddressSanitizer and UBSan.
option(FERNWICK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(FERNWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
# The fuzz build (scripts/fuzz.sh): clang, every library instrumented for
# libFuzzer, one program per fuzz/*_fuzz.cpp (cmake/fuzz.cmake).
option(FERNWICK_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)
# The GCC builds hold the line on warnings; warnings only clang gives are
# shown here but do not stop the fuzzing.
if(FERNWICK_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link -Wno-error)
endif()

find_package(ODBC REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(GTest REQUIRED)
find_library(LIEF_LIBRARY LIEF REQUIRED)
find_package(LibXml2 REQUIRED)

# Layers, lowest first: the platform interfaces (with src/common), their
# implementations (ODBC, the server image), the core above them, and the
# native command's stand-ins for the packaging programs above everything
# they run. A platform library links nothing above it.
fernwick_sources(PLATFORM_SOURCES src/common src/platform src/platform/recording)
add_library(fernwick_platform STATIC ${PLATFORM_SOURCES})
target_include_directories(fernwick_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)

fernwick_sources(CORE_SOURCES src/probes src/launch src/report src/shell src/packaging src/redaction src/comparison
                 src/fleet)
add_library(fernwick_core STATIC ${CORE_SOURCES})
target_link_libraries(fernwick_core PUBLIC fernwick_platform)

fernwick_sources(ODBC_SOURCES src/platform/odbc)
add_library(fernwick_odbc STATIC ${ODBC_SOURCES})
target_link_libraries(fernwick_odbc PUBLIC fernwick_platform ODBC::ODBC)

fernwick_sources(IMAGE_SOURCES src/platform/image)
add_library(fernwick_image STATIC ${IMAGE_SOURCES})
target_link_libraries(fernwick_image PUBLIC fernwick_platform fernwick_odbc SQLite::SQLite3 ${LIEF_LIBRARY}
                                            LibXml2::LibXml2)

fernwick_sources(NATIVE_FRONTEND_SOURCES src/frontend/native)
add_executable(fernwick ${NATIVE_FRONTEND_SOURCES})
target_link_libraries(fernwick PRIVATE fernwick_native)

add_executable(gathering_bench bench/gathering_bench.cpp bench/gathering_timer.cpp)
target_include_directories(gathering_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(gathering_bench PRIVATE fernwick_image fernwick_core)

# Replays of captures shaped to cost the most per question, at two sizes each.
add_executable(replay_bench bench/replay_bench.cpp)
target_link_libraries(replay_bench PRIVATE fernwick_image fernwick_core)

fernwick_sources(SERVICELIST_SOURCES src/servicelist)
add_library(tabulex_core STATIC ${SERVICELIST_SOURCES})
target_include_directories(tabulex_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

enable_testing()
fernwick_sources(TEST_SOURCES tests/common tests/native tests/native/probes tests/native/shell
                 tests/native/report tests/native/image tests/native/servicelist tests/native/odbc
                 tests/native/launch tests/native/redaction tests/native/comparison tests/native/recheck)
add_executable(fernwick_tests ${TEST_SOURCES})
target_include_directories(fernwick_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(fernwick_tests PRIVATE FERNWICK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(fernwick_tests PRIVATE fernwick_native tabulex_core GTest::gtest GTest::gtest_main)
include(cmake/test_pe_files.cmake)
include(GoogleTest)
gtest_discover_tests(fernwick_tests DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "FERNWICK_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

add_test(NAME platform_layering COMMAND ${CMAKE_SOURCE_DIR}/tests/layering/run.sh ${CMAKE_SOURCE_DIR})
add_test(NAME golden_reports
         COMMAND ${CMAKE_SOURCE_DIR}/tests/golden/run.sh $<TARGET_FILE:fernwick>)

# The prompt check against the least walk of a prompt tree (see the source);
# the test runs it once on a small tree only.
add_executable(prompt_check_bench ${CMAKE_SOURCE_DIR}/bench/prompt_check_bench.cpp)
target_link_libraries(prompt_check_bench PRIVATE fernwick_image fernwick_core)
add_test(NAME prompt_check_bench_small COMMAND prompt_check_bench --languages 3 --prompts 40)

# Packaging: Write To File, Browse, the start-up hook.
fernwick_sources(PACKAGING_TEST_SOURCES tests/native/packaging)
target_sources(fernwick_tests PRIVATE ${PACKAGING_TEST_SOURCES})

# cabmaker, the CAB builder: its portable core, the libgcab writer and the
# native program; the image runs the same core when Fernwick starts it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GCAB REQUIRED IMPORTED_TARGET libgcab-1.0)
fernwick_sources(CABMAKER_SOURCES src/cabmaker)
add_library(cabmaker_core STATIC ${CABMAKER_SOURCES})
target_include_directories(cabmaker_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
add_library(cabmaker_gcab STATIC src/cabmaker/gcab/gcab_writer.cpp)
target_link_libraries(cabmaker_gcab PUBLIC cabmaker_core PkgConfig::GCAB)
add_executable(cabmaker src/cabmaker/gcab/native_main.cpp)
target_link_libraries(cabmaker PRIVATE cabmaker_gcab)
fernwick_sources(CABMAKER_TEST_SOURCES tests/native/cabmaker)
target_sources(fernwick_tests PRIVATE ${CABMAKER_TEST_SOURCES})
target_compile_definitions(fernwick_tests PRIVATE FERNWICK_CABMAKER="$<TARGET_FILE:cabmaker>")
add_dependencies(fernwick_tests cabmaker)

# dumpel's portable core: the record format and the image's event logs.
fernwick_sources(DUMPEL_SOURCES src/dumpel)
add_library(dumpel_core STATIC ${DUMPEL_SOURCES})
target_include_directories(dumpel_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

# What the native command assembles above the image: the packaging programs
# as it runs them on a server image (dumpel, Tabulex, media.bat, cabmaker),
# and the image a VoxtraInfo.cab carries (`fernwick --from-cab`).
fernwick_sources(NATIVE_SOURCES src/frontend/native/packaging_programs src/frontend/native/cabinet_image
                 src/frontend/native/comparison src/frontend/native/verification src/frontend/native/recheck
                 src/frontend/native/fleet)
add_library(fernwick_native STATIC ${NATIVE_SOURCES})
target_link_libraries(fernwick_native PUBLIC fernwick_image fernwick_core cabmaker_gcab dumpel_core)
fernwick_sources(DUMPEL_TEST_SOURCES tests/native/dumpel)
target_sources(fernwick_tests PRIVATE ${DUMPEL_TEST_SOURCES})
# dumpel's reading of big logs, before and after (see the source); the test
# runs it once on small logs and fails when the two ways write other bytes.
add_executable(dumpel_bench bench/dumpel_bench.cpp)
target_link_libraries(dumpel_bench PRIVATE dumpel_core)
add_test(NAME dumpel_bench_small COMMAND dumpel_bench --records 3000 --span 20)
# The redaction of big event-log dumps against dumpel's writing of them;
# the test runs it once on small logs.
add_executable(redaction_bench bench/redaction_bench.cpp)
target_link_libraries(redaction_bench PRIVATE dumpel_core fernwick_core)
add_test(NAME redaction_bench_small COMMAND redaction_bench --records 3000)
target_compile_definitions(fernwick PRIVATE FERNWICK_SHIPPED_DIR="${CMAKE_SOURCE_DIR}/shipped")
add_test(NAME package_sample COMMAND ${CMAKE_SOURCE_DIR}/tests/package/run.sh $<TARGET_FILE:fernwick>)
# Every sample packaged with "redact": nothing of its table of names left,
# and the redacted package replays to its own report.
# Pairs of packages of a sample, changed one way each, compared.
add_test(NAME compare_pairs COMMAND ${CMAKE_SOURCE_DIR}/tests/compare/run.sh $<TARGET_FILE:fernwick>)
# A folder of CABs re-checked: every sample, an older, an image-less, a corrupt,
# a hostile and a foreign one.
add_test(NAME fleet_samples COMMAND ${CMAKE_SOURCE_DIR}/tests/fleet/run.sh $<TARGET_FILE:fernwick>)
add_test(NAME redaction_samples COMMAND ${CMAKE_SOURCE_DIR}/tests/redaction/run.sh $<TARGET_FILE:fernwick>)
if(FERNWICK_FUZZ)
  include(cmake/fuzz.cmake)
endif()
include(cmake/help_page.cmake)
# The help page is valid HTML 4.01 (tidy: 2 means errors).
add_test(NAME help_page_valid COMMAND sh -c "tidy -e -q -win1252 \"$1\"; [ $? -lt 2 ]" sh ${FERNWICK_HELP_PAGE})
# The help page finds the report's words: every finding line of the golden
# reports, and each run-time error number's line.
add_test(NAME help_page_finds_report_words COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/golden/help_search.py
                                                   ${FERNWICK_HELP_PAGE} ${CMAKE_SOURCE_DIR}/tests/golden)
