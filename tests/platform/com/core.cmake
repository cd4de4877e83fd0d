# Types, IUnknown, BSTR/VARIANT/SAFEARRAY, HRESULT texts.
kel_add_test(kel_com_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/guid_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hresult_message_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cunknown_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bstr_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/variant_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/safearray_test.cpp
  LIBS kelplatform)
# The test programs sit in tests/, the platform library in bin/.
set_property(TARGET kel_com_core_tests APPEND PROPERTY INSTALL_RPATH "$ORIGIN/../bin")
