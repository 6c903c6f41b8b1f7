# qv_library(<target> <folder> [SOURCES_DIR <dir>] [DEPENDS <targets>...])
#
# Builds every .cpp below <folder> into the static library <target>. Its headers are
# reachable as "<folder>/..." only for targets that link it: each library gets its own
# include root in the build tree holding a single link to its folder, so including a
# header of a library one does not depend on fails to compile.
function(qv_library target folder)
  cmake_parse_arguments(ARG "" "SOURCES_DIR" "DEPENDS;EXCLUDE" ${ARGN})
  set(src_dir ${CMAKE_SOURCE_DIR}/${folder})
  if(ARG_SOURCES_DIR)
    set(src_dir ${ARG_SOURCES_DIR})
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${src_dir}/*.cpp)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${excluded}/")
  endforeach()
  set(include_root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${include_root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${include_root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${include_root}/${folder} SYMBOLIC)
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${include_root})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${include_root})
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# qv_test_suite(<name> <folder> LIBS <targets>...)
#
# One GoogleTest executable from every .cpp below tests/<folder>, registered with CTest.
# The tests run in the build's bin/ folder context through QV_SOURCE_DIR / QV_BIN_DIR.
function(qv_test_suite name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  # The engine's suites carry the label "engine": the sanitizer run of test.sh picks them.
  set(ARG_LABEL unit)
  if(folder MATCHES "^pdf/")
    set(ARG_LABEL engine)
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qv_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QV_SOURCE_DIR=${CMAKE_SOURCE_DIR};QV_BIN_DIR=${QV_BIN_DIR};QV_CORPUS_DIR=${QV_CORPUS_DIR}"
               LABELS "${ARG_LABEL}"
    DISCOVERY_TIMEOUT 60)
endfunction()
