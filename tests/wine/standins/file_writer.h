// File Writer stand-in that works with Wine's AVI Mux: the input pin answers both
// IMemInputPin (samples carry their file offset as start time) and IStream (the mux writes
// and seeks directly). The file stays open after Stop, because the mux writes its index and
// header during its own Stop, which comes after ours. Like the platform's writer it writes
// into an existing file unless told to overwrite it (IFileSinkFilter2::SetMode).
#pragma once
#include <string>

#include "kit/base_filter.h"
#include "kit/input_pin.h"
#include "common/win32/handles.h"

namespace standins {

class FileWriter;

class FileWriterPin : public zelvio::kit::InputPin, public IStream {
 public:
  explicit FileWriterPin(FileWriter& writer);

  KIT_FORWARD_UNKNOWN(zelvio::kit::InputPin)

  STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override;
  STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override;
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override;
  STDMETHODIMP Commit(DWORD flags) override;
  STDMETHODIMP Revert() override;
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
  STDMETHODIMP Clone(IStream** out) override;

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT CheckMediaType(const AM_MEDIA_TYPE&) override { return S_OK; }
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  FileWriter& writer_;
};

class FileWriter : public zelvio::kit::BaseFilter, public IFileSinkFilter2 {
 public:
  FileWriter();
  ~FileWriter() override;
  static HRESULT Create(REFIID iid, void** out);

  KIT_FORWARD_UNKNOWN(zelvio::kit::BaseFilter)

  STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP SetMode(DWORD flags) override;
  STDMETHODIMP GetMode(DWORD* flags) override;

  int PinCount() override { return 1; }
  zelvio::kit::BasePin* PinAt(int index) override { return index == 0 ? &pin_ : nullptr; }

  // File access for the pin; every call holds the file lock.
  HRESULT WriteAt(ULONGLONG offset, const void* data, ULONG size);
  HRESULT WriteHere(const void* data, ULONG size, ULONG* written);
  HRESULT ReadHere(void* data, ULONG size, ULONG* read);
  HRESULT SeekTo(LONGLONG move, DWORD origin, ULONGLONG* position);
  HRESULT Resize(ULONGLONG size);
  ULONGLONG FileSize();

 protected:
  void* FindInterface(REFIID iid) override;
  HRESULT OnPause(FILTER_STATE from) override;
  void OnJoinGraph(IFilterGraph* graph) override;

 private:
  HRESULT OpenFile();
  void CloseFile();
  HRESULT WriteFailed(HRESULT hr);

  FileWriterPin pin_;
  std::wstring name_;
  DWORD mode_ = 0;
  zelvio::kit::CritSec fileLock_;
  zelvio::UniqueHandle file_;
  ULONGLONG position_ = 0;
  bool failureReported_ = false;  // one report per file, as the graph needs only one
};

}  // namespace standins
