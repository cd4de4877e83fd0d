# Frame generation and packing for the virtual camera.
set(_kel_frame_sources
  ${CMAKE_CURRENT_LIST_DIR}/packing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_strip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_background.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scene_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_chart.cpp
)
target_sources(kellib3 PRIVATE ${_kel_frame_sources})
# Every frame the virtual camera delivers is rendered and packed on the fly:
# let the optimiser vectorise the per-pixel loops in optimised builds. No FMA
# contraction, so a pixel's value never depends on where a vector loop starts.
set_source_files_properties(${_kel_frame_sources} TARGET_DIRECTORY kellib3 PROPERTIES
  COMPILE_OPTIONS "$<$<CONFIG:Release,RelWithDebInfo>:-O3>;-ffp-contract=off")
