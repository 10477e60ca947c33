# One static library per source folder: every .cpp of the folder belongs to it, so a new
# file needs no edit of a build file.
function(tavuro_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# One test program per test folder, linking the libraries it tests. Each test case runs
# as its own CTest test on the offscreen platform, stopped as hung after TIMEOUT seconds
# (default 120).
function(tavuro_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "DEPENDS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_executable(${name} ${sources})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE tavuro_test_main_gui ${ARG_DEPENDS})
  else()
    target_link_libraries(${name} PRIVATE tavuro_test_main ${ARG_DEPENDS})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${ARG_TIMEOUT})
endfunction()
