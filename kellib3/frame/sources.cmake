# Frame generation and packing for the virtual camera.
target_sources(kellib3 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/packing.cpp
)
