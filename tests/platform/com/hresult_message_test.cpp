#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/com/hresult_message.h"

namespace {

const HRESULT kKnownCodes[] = {
    S_OK, S_FALSE, E_NOTIMPL, E_NOINTERFACE, E_POINTER, E_ABORT, E_FAIL, E_UNEXPECTED,
    E_ACCESSDENIED, E_HANDLE, E_OUTOFMEMORY, E_INVALIDARG, CLASS_E_NOAGGREGATION,
    CLASS_E_CLASSNOTAVAILABLE, REGDB_E_CLASSNOTREG, REGDB_E_READREGDB, REGDB_E_WRITEREGDB,
    CO_E_DLLNOTFOUND, CO_E_ERRORINDLL, MK_E_UNAVAILABLE, DISP_E_BADINDEX, DISP_E_TYPEMISMATCH,
    DISP_E_BADVARTYPE, VFW_S_NO_MORE_ITEMS, VFW_E_NOT_CONNECTED, VFW_E_TYPE_NOT_ACCEPTED,
    VFW_E_NO_ACCEPTABLE_TYPES, VFW_E_ALREADY_CONNECTED, VFW_E_NOT_STOPPED, VFW_E_WRONG_STATE,
    VFW_E_CANNOT_CONNECT};

TEST(HresultMessage, EveryKnownCodeHasItsOwnSingleLineText) {
  std::set<std::string> seen;
  for (HRESULT hr : kKnownCodes) {
    const std::string text = plat::hresultMessage(hr);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.rfind("Unknown error", 0), std::string::npos) << std::hex << hr;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_TRUE(seen.insert(text).second) << "shared text: " << text;
  }
  EXPECT_EQ(plat::hresultMessage(E_FAIL), "Unspecified error");
}

TEST(HresultMessage, UnknownCodesShowEightUpperCaseHexDigits) {
  EXPECT_EQ(plat::hresultMessage(kelHresult(0x8004DEAD)), "Unknown error 0x8004DEAD");
  EXPECT_EQ(plat::hresultMessage(kelHresult(0x0000ABC2)), "Unknown error 0x0000ABC2");
  EXPECT_EQ(plat::hresultMessage(kelHresult(0xFFFFFFFF)), "Unknown error 0xFFFFFFFF");
}

}  // namespace
