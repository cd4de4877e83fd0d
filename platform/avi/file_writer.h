// The file writer (CLSID_FileWriter): one input pin taking an AVI stream.
// When the graph starts, it creates the file named by SetFileName, so a
// name the file system refuses (a missing or read-only folder, a bad name)
// fails the start with its HRESULT; IKelSaveStatus tells why in words. The
// multiplexer upstream writes the file (see file_stream.h); the writer
// reports the end of the stream to the graph once the film is complete.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/avi/file_sink.h"
#include "platform/avi/save_interfaces.h"
#include "platform/dshow/base_filter.h"

class CFileWriterPin;

class CFileWriter final : public CBaseFilter, public IFileSinkFilter, public IKelSaveStatus {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);
  ~CFileWriter() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;

  // Opens the file when leaving the stopped state with a connected input.
  HRESULT Pause() override;
  HRESULT Stop() override;

  // IFileSinkFilter. SetFileName needs a stopped filter.
  HRESULT SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  HRESULT GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

  // IKelSaveStatus: a failed open, else the first write failure of the run.
  HRESULT GetLastFailure(HRESULT* failure, BSTR* text) override;

  // The file of the current run; null while stopped.
  std::shared_ptr<plat::FileSink> runFile();

 private:
  explicit CFileWriter(IUnknown* outer);

  CCritSec filterLock_;
  std::unique_ptr<CFileWriterPin> pin_;
  std::mutex fileLock_;
  std::u16string name_;
  std::shared_ptr<plat::FileSink> file_;      // while running
  std::shared_ptr<plat::FileSink> lastFile_;  // the last run's, for its status
  plat::FileFailure openFailure_;
};
