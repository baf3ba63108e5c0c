add_library(demo_timeline STATIC
  ${CMAKE_CURRENT_LIST_DIR}/overlay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene.cpp)
target_link_libraries(demo_timeline PUBLIC assets platform_headers PkgConfig::GL PkgConfig::GLU)
