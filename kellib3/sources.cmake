# The library's own sources (frame generation lives in frame/sources.cmake).
target_sources(kellib3 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/core/text_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/std_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/error_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/config.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/fault_injector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/virtual_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model/camera_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model/units.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model/options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grabber/film.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grabber/controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grabber/info_items.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grabber/state_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grabber/frame_cycle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system/library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_dataheader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/api/api_options.cpp
)
