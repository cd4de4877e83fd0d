#include "platform/com/hresult_message.h"

#include <cstdio>

namespace plat {
namespace {

const char* knownMessage(HRESULT hr) {
  switch (hr) {
    // S_FALSE shares its value with the Win32 code 1, whose text is this.
    case S_OK: return "The operation completed successfully.";
    case S_FALSE: return "Incorrect function.";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_POINTER: return "Invalid pointer";
    case E_ABORT: return "Operation aborted";
    case E_FAIL: return "Unspecified error";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_ACCESSDENIED: return "Access is denied.";
    case E_HANDLE: return "The handle is invalid.";
    case E_OUTOFMEMORY: return "Not enough storage is available to complete this operation.";
    case E_INVALIDARG: return "The parameter is incorrect.";
    case CLASS_E_NOAGGREGATION: return "Class does not support aggregation (or class object is remote)";
    case CLASS_E_CLASSNOTAVAILABLE: return "ClassFactory cannot supply requested class";
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case REGDB_E_READREGDB: return "Could not read key from registry";
    case REGDB_E_WRITEREGDB: return "Could not write key to registry";
    case CO_E_DLLNOTFOUND: return "DLL for class not found";
    case CO_E_ERRORINDLL: return "Error in the DLL";
    case MK_E_UNAVAILABLE: return "Operation unavailable";
    case DISP_E_BADINDEX: return "Invalid index.";
    case DISP_E_TYPEMISMATCH: return "Type mismatch.";
    case DISP_E_BADVARTYPE: return "Bad variable type.";
    case VFW_S_NO_MORE_ITEMS: return "The end of the list has been reached.";
    case VFW_E_NOT_CONNECTED:
      return "The operation cannot be performed because the pins are not connected.";
    case VFW_E_TYPE_NOT_ACCEPTED: return "This pin cannot use the supplied media type.";
    case VFW_E_NO_ACCEPTABLE_TYPES: return "There is no common media type between these pins.";
    case VFW_E_ALREADY_CONNECTED:
      return "At least one of the pins involved in the operation is already connected.";
    case VFW_E_NOT_STOPPED:
      return "The operation could not be performed because the filter is not stopped.";
    case VFW_E_WRONG_STATE:
      return "The operation could not be performed because the filter is in the wrong state.";
    case VFW_E_CANNOT_CONNECT:
      return "No combination of intermediate filters could be found to make the connection.";
    default: return nullptr;
  }
}

}  // namespace

std::string hresultMessage(HRESULT hr) {
  if (const char* text = knownMessage(hr)) return text;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "Unknown error 0x%08X", static_cast<unsigned>(hr));
  return buffer;
}

}  // namespace plat
