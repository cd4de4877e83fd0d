# The frame information overlay: camera values drawn over preview and saved frames.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/blend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend_cells.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend_layout.cpp
)
