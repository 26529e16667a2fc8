# The help page Fernwick.htm, made from src/help/Fernwick.htm.in and the
# findings table by a small program built with the build machine's own
# compiler, as the Windows builds cannot run what they build. The page lands
# in the build folder (FERNWICK_HELP_PAGE); `dist` installs it.
find_program(FERNWICK_HOST_CXX NAMES g++ c++ REQUIRED)
set(FERNWICK_HELP_PAGE ${CMAKE_BINARY_DIR}/Fernwick.htm)
set(help_tool ${CMAKE_BINARY_DIR}/help_page_host)
set(help_sources ${CMAKE_SOURCE_DIR}/src/help/help_page_main.cpp ${CMAKE_SOURCE_DIR}/src/report/findings.cpp
                 ${CMAKE_SOURCE_DIR}/src/report/finding_fixes.cpp ${CMAKE_SOURCE_DIR}/src/report/html_text.cpp
                 ${CMAKE_SOURCE_DIR}/src/report/runtime_errors.cpp ${CMAKE_SOURCE_DIR}/src/report/finding_causes.cpp
                 ${CMAKE_SOURCE_DIR}/src/common/runtime_error.cpp)
add_custom_command(
  OUTPUT ${help_tool}
  COMMAND ${FERNWICK_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Werror -I${CMAKE_SOURCE_DIR}/src ${help_sources}
          -o ${help_tool}
  DEPENDS ${help_sources} ${CMAKE_SOURCE_DIR}/src/report/findings.h ${CMAKE_SOURCE_DIR}/src/report/finding_fixes.h
          ${CMAKE_SOURCE_DIR}/src/report/html_text.h ${CMAKE_SOURCE_DIR}/src/report/runtime_errors.h
          ${CMAKE_SOURCE_DIR}/src/report/finding_causes.h
  COMMENT "Help page generator (for the build machine)"
  VERBATIM)
add_custom_command(
  OUTPUT ${FERNWICK_HELP_PAGE}
  COMMAND ${help_tool} ${CMAKE_SOURCE_DIR}/src/help/Fernwick.htm.in ${FERNWICK_HELP_PAGE}
  DEPENDS ${help_tool} ${CMAKE_SOURCE_DIR}/src/help/Fernwick.htm.in
  COMMENT "Help page Fernwick.htm"
  VERBATIM)
add_custom_target(help_page ALL DEPENDS ${FERNWICK_HELP_PAGE})
