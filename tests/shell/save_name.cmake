# The film's file-name rule, on its own: no camera, no registry.
kel_add_test(shell_save_name_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_name_test.cpp
  LIBS kelshellcore)
