# voidrift_library(NAME DIR [DEPS ...]): a static library from every .cpp in DIR
# (main.cpp excluded); an interface library while the folder has no sources yet.
function(voidrift_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# voidrift_test(NAME DIR [DEPS ...]): one GoogleTest executable from every .cpp in DIR.
function(voidrift_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VOIDRIFT_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VOIDRIFT_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(environment "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
  if(VOIDRIFT_SANITIZE AND name IN_LIST VOIDRIFT_GL_TESTS)
    # Mesa's llvmpipe allocates from its JIT-compiled code, which the leak checker cannot
    # attribute to any library; these binaries keep every other sanitizer check.
    list(APPEND environment "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ENVIRONMENT "${environment}")
endfunction()
