# The frame converter: DMA parts to 24/32-bit pixels.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FrameConverter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_unpack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_grey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_bayer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_repack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_isa.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_avx512_unpack.cpp
  ${CMAKE_CURRENT_LIST_DIR}/converter_avx512_pixels.cpp
)
