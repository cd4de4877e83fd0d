// The three option property interfaces through which the shell reads and
// writes one camera option of the capture filter. Slot order is the contract
// between the two deliverables: append, never reorder. `long` arguments are
// 32 bits (LONG), unit identifiers are UINT.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/unknown.h"
#include "shared/identifiers.h"

// A number with a unit. Names tables (GetUnits) are SAFEARRAYs of VARIANT
// with the bounds (rows, 0) x (2, 0): (i, 0) VT_I4 unit, (i, 1) VT_BSTR text.
struct IScalarProperty : IUnknown {
  virtual HRESULT IsValid(LONG index) = 0;
  virtual HRESULT GetUnits(SAFEARRAY** table, LONG* count) = 0;
  virtual HRESULT SetRelativeValue(LONG delta, UINT unused) = 0;
  virtual HRESULT GetValue(LONG* value, UINT unit) = 0;
  virtual HRESULT GetMinValue(LONG* value, UINT unused) = 0;
  virtual HRESULT GetMaxValue(LONG* value, UINT unused) = 0;
  virtual HRESULT SetValueByUnitName(LONG value, BSTR unit) = 0;
  virtual HRESULT SetValue(LONG value, UINT unit) = 0;
  virtual HRESULT GetName(BSTR* name) = 0;
  virtual HRESULT GetUnitName(LONG unit, BSTR* name) = 0;
  virtual HRESULT GetUnitId(BSTR name, LONG* unit) = 0;
  virtual HRESULT GetErrorDescription(BSTR* text) = 0;

 protected:
  ~IScalarProperty() = default;
};

// One of a list of named values.
struct IEnumProperty : IUnknown {
  virtual HRESULT IsValid(LONG index) = 0;
  virtual HRESULT GetItems(SAFEARRAY** table, LONG* count) = 0;
  virtual HRESULT GetValue(LONG* value) = 0;
  virtual HRESULT SetValue(LONG value) = 0;
  virtual HRESULT GetName(BSTR* name) = 0;
  virtual HRESULT GetItemName(LONG value, BSTR* text) = 0;
  virtual HRESULT GetItemValue(BSTR text, LONG* value) = 0;
  virtual HRESULT GetErrorDescription(BSTR* text) = 0;

 protected:
  ~IEnumProperty() = default;
};

// The input window: x, y, width, height, in that order.
struct IRectProperty : IUnknown {
  virtual HRESULT IsValid(LONG index) = 0;
  virtual HRESULT GetValue(LONG* x, LONG* y, LONG* width, LONG* height) = 0;
  virtual HRESULT SetValue(LONG x, LONG y, LONG width, LONG height) = 0;
  virtual HRESULT GetMinValue(LONG* x, LONG* y, LONG* width, LONG* height) = 0;
  virtual HRESULT GetMaxValue(LONG* x, LONG* y, LONG* width, LONG* height) = 0;
  virtual HRESULT GetName(BSTR* name) = 0;
  virtual HRESULT GetErrorDescription(BSTR* text) = 0;

 protected:
  ~IRectProperty() = default;
};
