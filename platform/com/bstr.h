// BSTR: a UTF-16 string allocated by the platform library, preceded by its
// length in bytes (4 bytes) and followed by a zero character. It may hold
// embedded zeros; a null BSTR is the empty string. Every module frees BSTRs
// here, whichever module allocated them.
#pragma once

#include "platform/com/types.h"

using UINT = unsigned int;
using INT = int;
using BSTR = OLECHAR*;

// Copies up to the terminating zero. Null in gives null out; so does a
// failed allocation.
BSTR SysAllocString(const OLECHAR* psz);
// `len` characters from `pch`, which may contain zeros; a null `pch` gives a
// string of `len` zero characters. Null when the memory cannot be had.
BSTR SysAllocStringLen(const OLECHAR* pch, UINT len);
// Frees; null is allowed.
void SysFreeString(BSTR bstr);
// Characters and bytes, embedded zeros included; 0 for null.
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);
// Replaces *pbstr with a copy of `psz` (which may point into *pbstr) and frees
// the old string. FALSE, leaving *pbstr untouched, when pbstr is null or the
// allocation fails.
INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);
