# Frame processing and film output: the playback source of preview mode.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/preview_playback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StPreviewSource.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/overlay.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/save.cmake)
