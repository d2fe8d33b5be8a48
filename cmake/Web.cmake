# The web page's program (Emscripten): the core and the drawing code compiled against the
# GLES layer's GL headers, the web platform backend and the page's music hand-over.
# libjpeg comes from VOIDRIFT_WEB_PREFIX (scripts/build-web.sh builds it).
set(VOIDRIFT_WEB_PREFIX "" CACHE PATH "Prefix holding libjpeg built with emcc")

function(voidrift_web_sources out)
  set(all "")
  foreach(dir ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND all ${srcs})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

voidrift_web_sources(core_srcs archive script image world overlay app gles platform/web music/web)
# A page records nothing: no PNG writer (web/PageStubs.cpp).
list(FILTER core_srcs EXCLUDE REGEX "/app/(main|PngWriter)\\.cpp$")
add_executable(voidrift_web ${core_srcs} ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${CMAKE_SOURCE_DIR}/web/PageStubs.cpp)
target_include_directories(voidrift_web BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/src/gles/include)
target_include_directories(voidrift_web PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools
                                                ${VOIDRIFT_WEB_PREFIX}/include)
target_compile_definitions(voidrift_web PRIVATE VOIDRIFT_VERSION="${PROJECT_VERSION}")
target_compile_options(voidrift_web PRIVATE -Os)
target_link_libraries(voidrift_web PRIVATE ${VOIDRIFT_WEB_PREFIX}/lib/libjpeg.a)
# Asyncify lets the show's own loop wait for the browser's animation frame at each swap;
# only the calls on the way to the swap are direct, so indirect ones are left alone.
target_link_options(voidrift_web PRIVATE
  -Os -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sASYNCIFY=1 -sASYNCIFY_IGNORE_INDIRECT=1 "-sASYNCIFY_IMPORTS=['waitForAnimationFrame']"
  -sINVOKE_RUN=0 -sEXIT_RUNTIME=0 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']")
set_target_properties(voidrift_web PROPERTIES OUTPUT_NAME voidrift SUFFIX ".js"
                                              RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
