# The GLES renderer: the drawing libraries compiled a second time with src/gles/include
# ahead of the system's GL headers, so their unchanged gl* calls are the layer's.

set(VOIDRIFT_GLES_TWINS vr_image vr_script vr_world vr_overlay vr_platform vr_music vr_app)

# voidrift_gles_twin(NAME): NAME_gles from NAME's sources, linked to the twins of its
# dependencies and to the layer instead of GL and GLU.
function(voidrift_gles_twin name)
  get_target_property(srcs ${name} SOURCES)
  get_target_property(deps ${name} LINK_LIBRARIES)
  get_target_property(defs ${name} COMPILE_DEFINITIONS)
  # The SDL backend's context flavour: GLES 3 for the layer.
  list(TRANSFORM srcs REPLACE "/sdl/SdlGlContext\\.cpp$" "/sdl/gles/SdlGlesContext.cpp")
  add_library(${name}_gles STATIC ${srcs})
  target_include_directories(${name}_gles BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/src/gles/include)
  target_include_directories(${name}_gles PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools)
  if(defs)
    target_compile_definitions(${name}_gles PRIVATE ${defs})
  endif()
  set(mapped vr_gles)
  foreach(dep ${deps})
    if(dep IN_LIST VOIDRIFT_GLES_TWINS)
      list(APPEND mapped ${dep}_gles)
    elseif(NOT dep MATCHES "^OpenGL::")
      list(APPEND mapped ${dep})
    endif()
  endforeach()
  target_link_libraries(${name}_gles PUBLIC ${mapped})
endfunction()

foreach(twin ${VOIDRIFT_GLES_TWINS})
  voidrift_gles_twin(${twin})
endforeach()
add_dependencies(vr_app_gles dialog_pictures)
# Private links of the platform backend (SDL, X11, PNG) are carried as its link interface.
add_executable(voidrift-gles ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(voidrift-gles PRIVATE vr_app_gles)
set_target_properties(voidrift-gles PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/app)
install(TARGETS voidrift-gles RUNTIME DESTINATION libexec/xscreensaver)
