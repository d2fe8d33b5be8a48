# The libraries of the Windows build: OpenGL and GLU from the system DLLs, the rest as
# static MinGW libraries from VOIDRIFT_MINGW_PREFIX. The targets carry the names the Linux
# build's pkg-config gives them, so the subsystems link the same way on both.
find_package(OpenGL REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)

find_path(VORBIS_INCLUDE_DIR vorbis/vorbisfile.h REQUIRED)
add_library(PkgConfig::VORBIS INTERFACE IMPORTED)
set(vorbis_libraries)
foreach(name vorbisfile vorbisenc vorbis ogg)
  find_library(VORBIS_${name}_LIBRARY ${name} REQUIRED)
  list(APPEND vorbis_libraries ${VORBIS_${name}_LIBRARY})
endforeach()
set_target_properties(PkgConfig::VORBIS PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${VORBIS_INCLUDE_DIR}"
  INTERFACE_LINK_LIBRARIES "${vorbis_libraries}")

# Gives find_package(GTest) the cross-built GoogleTest.
set(GTest_DIR "${VOIDRIFT_MINGW_PREFIX}/lib/cmake/GTest" CACHE PATH "")

# Gives every file the OpenGL names beyond 1.1, as the Linux gl.h does.
add_compile_options("SHELL:-include ${CMAKE_SOURCE_DIR}/src/platform/win32/OpenGlHeaders.h")
