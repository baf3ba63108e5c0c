# The two vertex effects: the wobble of superfigur and the lag rotation of slimy.
add_library(demo_effects STATIC
  ${CMAKE_CURRENT_LIST_DIR}/wobble.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lag.cpp)
target_link_libraries(demo_effects PUBLIC assets_models)
