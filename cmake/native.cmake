# Native Linux build: the portable core, the server-image platform, the `fernwick`
# command and the native tests, all under AddressSanitizer and UBSan.
option(FERNWICK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(FERNWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(ODBC REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(GTest REQUIRED)
find_library(LIEF_LIBRARY LIEF REQUIRED)
find_package(LibXml2 REQUIRED)

fernwick_sources(CORE_SOURCES src/common src/platform src/probes src/report src/shell src/packaging)
add_library(fernwick_core STATIC ${CORE_SOURCES})
target_include_directories(fernwick_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

fernwick_sources(ODBC_SOURCES src/platform/odbc)
add_library(fernwick_odbc STATIC ${ODBC_SOURCES})
target_link_libraries(fernwick_odbc PUBLIC fernwick_core ODBC::ODBC)

fernwick_sources(IMAGE_SOURCES src/platform/image)
add_library(fernwick_image STATIC ${IMAGE_SOURCES})
target_link_libraries(fernwick_image PUBLIC fernwick_core fernwick_odbc SQLite::SQLite3 ${LIEF_LIBRARY} LibXml2::LibXml2)

fernwick_sources(NATIVE_FRONTEND_SOURCES src/frontend/native)
add_executable(fernwick ${NATIVE_FRONTEND_SOURCES})
target_link_libraries(fernwick PRIVATE fernwick_image)

add_executable(gathering_bench bench/gathering_bench.cpp bench/gathering_timer.cpp)
target_include_directories(gathering_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(gathering_bench PRIVATE fernwick_image)

fernwick_sources(SERVICELIST_SOURCES src/servicelist)
add_library(tabulex_core STATIC ${SERVICELIST_SOURCES})
target_include_directories(tabulex_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

enable_testing()
fernwick_sources(TEST_SOURCES tests/common tests/native tests/native/probes tests/native/shell
                 tests/native/report tests/native/image tests/native/servicelist tests/native/odbc)
add_executable(fernwick_tests ${TEST_SOURCES})
target_include_directories(fernwick_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(fernwick_tests PRIVATE FERNWICK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(fernwick_tests PRIVATE fernwick_image tabulex_core GTest::gtest GTest::gtest_main)
include(cmake/test_pe_files.cmake)
include(GoogleTest)
gtest_discover_tests(fernwick_tests DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "FERNWICK_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

add_test(NAME golden_reports
         COMMAND ${CMAKE_SOURCE_DIR}/tests/golden/run.sh $<TARGET_FILE:fernwick>)

# The prompt check against the least walk of a prompt tree (see the source);
# the test runs it once on a small tree only.
add_executable(prompt_check_bench ${CMAKE_SOURCE_DIR}/bench/prompt_check_bench.cpp)
target_link_libraries(prompt_check_bench PRIVATE fernwick_image)
add_test(NAME prompt_check_bench_small COMMAND prompt_check_bench --languages 3 --prompts 40)
