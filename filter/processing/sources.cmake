# Frame processing and film output: the playback source of preview mode.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/preview_playback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StPreviewSource.cpp
)
