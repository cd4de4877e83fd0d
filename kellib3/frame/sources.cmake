# Frame generation and packing for the virtual camera.
target_sources(kellib3 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/packing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_strip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_chart.cpp
)
