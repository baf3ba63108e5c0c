# Textures: JPEG through libjpeg with GLU mip-maps, PNG through our own pngBind on libpng.
add_library(assets_textures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/texture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_bind.cpp
  ${CMAKE_CURRENT_LIST_DIR}/power_of_two.cpp)
target_link_libraries(assets_textures PUBLIC platform_headers PkgConfig::GL PkgConfig::GLU PkgConfig::JPEG
  PkgConfig::PNG)
# The resampler's inner loops are plain float arithmetic that only vectorises at -O3.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/power_of_two.cpp PROPERTIES COMPILE_OPTIONS -O3)
