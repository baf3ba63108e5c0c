# Vectors, the .ebr meshes and their drawing.
add_library(assets_models STATIC
  ${CMAKE_CURRENT_LIST_DIR}/vec3.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model_draw.cpp)
target_link_libraries(assets_models PUBLIC platform_headers PkgConfig::GL PkgConfig::GLU)
