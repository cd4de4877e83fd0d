#include "filter/options/option_rect.h"

#include "filter/options/name_table.h"

namespace Options {
namespace {

HRESULT handOut(bool ok, const Rect::Value& r, LONG* x, LONG* y, LONG* width, LONG* height) {
  if (!ok) return E_FAIL;
  *x = r.x;
  *y = r.y;
  *width = r.width;
  *height = r.height;
  return S_OK;
}

bool anyNull(const LONG* x, const LONG* y, const LONG* width, const LONG* height) {
  return !x || !y || !width || !height;
}

}  // namespace

OptionRect::OptionRect(OptionRecord* record, plat::ModuleRefCount* module)
    : CUnknown("OptionRect", nullptr, module), record_(record) {}

HRESULT OptionRect::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IRectProperty) return GetInterface(static_cast<IRectProperty*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT OptionRect::IsValid(LONG) { return record_ ? S_OK : E_FAIL; }

HRESULT OptionRect::GetValue(LONG* x, LONG* y, LONG* width, LONG* height) {
  if (anyNull(x, y, width, height)) return E_POINTER;
  Rect::Value r;
  return handOut(record_->rect.Value(r), r, x, y, width, height);
}

HRESULT OptionRect::SetValue(LONG x, LONG y, LONG width, LONG height) {
  return record_->rect.SetValue({x, y, width, height}) ? S_OK : E_FAIL;
}

HRESULT OptionRect::GetMinValue(LONG* x, LONG* y, LONG* width, LONG* height) {
  if (anyNull(x, y, width, height)) return E_POINTER;
  Rect::Value r;
  return handOut(record_->rect.GetMinValue(r), r, x, y, width, height);
}

HRESULT OptionRect::GetMaxValue(LONG* x, LONG* y, LONG* width, LONG* height) {
  if (anyNull(x, y, width, height)) return E_POINTER;
  Rect::Value r;
  return handOut(record_->rect.GetMaxValue(r), r, x, y, width, height);
}

HRESULT OptionRect::GetName(BSTR* name) { return MakeBstr(record_->Name(), name); }

HRESULT OptionRect::GetErrorDescription(BSTR* text) { return MakeBstr("OptionRect:No implementation", text); }

}  // namespace Options
