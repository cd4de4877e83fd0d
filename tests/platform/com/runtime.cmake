# The COM runtime: class registry, CoCreateInstance, running object table,
# registration. Two tiny modules are loaded through the registry by the tests.
set(_rt ${CMAKE_CURRENT_LIST_DIR})

# Built without unique symbols so that the loader may really unload it.
add_library(kel_test_server MODULE ${_rt}/test_server/test_server.cpp)
kel_target_defaults(kel_test_server)
target_compile_options(kel_test_server PRIVATE -fno-gnu-unique)
target_link_libraries(kel_test_server PRIVATE kelplatform)
set_target_properties(kel_test_server PROPERTIES PREFIX "")

add_library(kel_test_no_entry MODULE ${_rt}/test_server/no_entry.cpp)
kel_target_defaults(kel_test_no_entry)
set_target_properties(kel_test_no_entry PROPERTIES PREFIX "")

kel_add_test(com_registry_test
  SOURCES ${_rt}/registry_text_test.cpp ${_rt}/registry_file_test.cpp
  LIBS kelplatform kel_test_support)

kel_add_test(com_co_create_test
  SOURCES ${_rt}/co_create_test.cpp ${_rt}/co_create_builtin_test.cpp ${_rt}/rot_test.cpp
          ${_rt}/registration_test.cpp
  LIBS kelplatform kel_test_support)
add_dependencies(com_co_create_test kel_test_server kel_test_no_entry)

# The test programs live in tests/, the libraries in bin/: $ORIGIN alone
# does not find them.
set_target_properties(com_registry_test com_co_create_test PROPERTIES
  INSTALL_RPATH "${CMAKE_BINARY_DIR}/bin")
