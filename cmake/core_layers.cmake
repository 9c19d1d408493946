# One static library per core folder. Each layer is also linked on its own,
# whole, into a small program (quillon_<layer>_alone): a layer that calls into
# one it may not depend on fails that link, so the build holds the layering.
function(quillon_core_layer layer)
  cmake_parse_arguments(LAYER "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${layer}/*.cpp)
  add_library(quillon_${layer} STATIC ${sources})
  target_include_directories(quillon_${layer} PUBLIC ${PROJECT_SOURCE_DIR})
  list(TRANSFORM LAYER_DEPENDS PREPEND quillon_)
  target_link_libraries(quillon_${layer} PUBLIC ${LAYER_DEPENDS})
  set_property(GLOBAL APPEND PROPERTY QUILLON_CORE_LAYERS ${layer})

  add_executable(quillon_${layer}_alone ${PROJECT_SOURCE_DIR}/cmake/layer_alone_main.cpp)
  target_link_libraries(quillon_${layer}_alone PRIVATE
                        "$<LINK_LIBRARY:WHOLE_ARCHIVE,quillon_${layer}>" ${LAYER_DEPENDS})
endfunction()
