// Media type helpers and CMediaType, the owning form of AM_MEDIA_TYPE.
// Format blocks come from the task allocator (CoTaskMemAlloc) so that a type
// can be handed across module boundaries and freed by the receiver; pUnk
// holds a reference.
#pragma once

#include "platform/dshow/media_types.h"

// Releases the format block and pUnk and leaves the record without them.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// FreeMediaType, then frees the record itself (made by CreateMediaType).
void DeleteMediaType(AM_MEDIA_TYPE* pmt);
// Deep copy into a record allocated with CoTaskMemAlloc; null on failure.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc);
// Deep copy into `dst`, whose previous contents are not freed. E_OUTOFMEMORY
// leaves dst without a format block.
HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource);

class CMediaType : public AM_MEDIA_TYPE {
 public:
  // Fixed-size samples of size 1, no format; majortype as given.
  explicit CMediaType(const GUID* majortype = nullptr);
  // Deep copies. A copy whose format block cannot be allocated is left
  // without a format (IsValid still tells the major type).
  CMediaType(const AM_MEDIA_TYPE& rt);
  CMediaType(const CMediaType& rt);
  CMediaType& operator=(const AM_MEDIA_TYPE& rt);
  CMediaType& operator=(const CMediaType& rt);
  ~CMediaType();

  // Equal when major type, subtype, format type and format bytes agree.
  bool operator==(const CMediaType& rt) const;
  bool operator!=(const CMediaType& rt) const { return !(*this == rt); }

  HRESULT Set(const CMediaType& rt);
  HRESULT Set(const AM_MEDIA_TYPE& rt);
  // Whether the major type is known.
  BOOL IsValid() const;

  const GUID* Type() const { return &majortype; }
  void SetType(const GUID* type) { majortype = *type; }
  const GUID* Subtype() const { return &subtype; }
  void SetSubtype(const GUID* type) { subtype = *type; }
  const GUID* FormatType() const { return &formattype; }
  void SetFormatType(const GUID* type) { formattype = *type; }

  BOOL IsFixedSize() const { return bFixedSizeSamples; }
  BOOL IsTemporalCompressed() const { return bTemporalCompression; }
  ULONG GetSampleSize() const;
  void SetSampleSize(ULONG sz);
  void SetVariableSize();
  void SetTemporalCompression(BOOL bCompressed);

  BYTE* Format() const { return pbFormat; }
  ULONG FormatLength() const { return cbFormat; }
  // Replaces the format block with a copy of `length` bytes.
  BOOL SetFormat(const BYTE* format, ULONG length);
  // Drops the format block, keeps the format type.
  void ResetFormatBuffer();
  // A new zeroed block of `length` bytes replacing the old one; null on failure.
  BYTE* AllocFormatBuffer(ULONG length);
  // Resizes keeping the common prefix; null on failure (the old block stays).
  BYTE* ReallocFormatBuffer(ULONG length);

  void InitMediaType();
  // A type with a wildcard (GUID_NULL) major type, subtype or format type.
  BOOL IsPartiallySpecified() const;
  // Whether this type fits `ppartial`, where the partial type's GUID_NULL
  // fields match anything and its format, when it has one, must be equal.
  BOOL MatchesPartial(const CMediaType* ppartial) const;
};
