#include "file_writer.h"

#include "standin_ids.h"

#include <evcode.h>

#include <cstring>

namespace standins {

FileWriterPin::FileWriterPin(FileWriter& writer) : InputPin(writer, L"in"), writer_(writer) {}

void* FileWriterPin::FindInterface(REFIID iid) {
  if (iid == IID_IStream || iid == IID_ISequentialStream) return static_cast<IStream*>(this);
  return InputPin::FindInterface(iid);
}

HRESULT FileWriterPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return E_POINTER;
  ULONG size = static_cast<ULONG>(sample->GetActualDataLength());
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  // Writers upstream of a file put the byte offset into the start time.
  if (SUCCEEDED(sample->GetTime(&start, &stop))) return writer_.WriteAt(start, data, size);
  ULONG written = 0;
  return writer_.WriteHere(data, size, &written);
}

// The mux writes through the byte stream, not through Receive: its calls count as the
// pin's time in the benchmark's accounting.
STDMETHODIMP FileWriterPin::Read(void* data, ULONG size, ULONG* read) {
  zelvio::kit::TimedSpan span(Timing());
  return writer_.ReadHere(data, size, read);
}

STDMETHODIMP FileWriterPin::Write(const void* data, ULONG size, ULONG* written) {
  zelvio::kit::TimedSpan span(Timing());
  return writer_.WriteHere(data, size, written);
}

STDMETHODIMP FileWriterPin::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  zelvio::kit::TimedSpan span(Timing());
  ULONGLONG now = 0;
  HRESULT hr = writer_.SeekTo(move.QuadPart, origin, &now);
  if (SUCCEEDED(hr) && position) position->QuadPart = now;
  return hr;
}

STDMETHODIMP FileWriterPin::SetSize(ULARGE_INTEGER size) { return writer_.Resize(size.QuadPart); }

STDMETHODIMP FileWriterPin::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}

STDMETHODIMP FileWriterPin::Commit(DWORD) { return S_OK; }
STDMETHODIMP FileWriterPin::Revert() { return E_NOTIMPL; }

STDMETHODIMP FileWriterPin::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

STDMETHODIMP FileWriterPin::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

STDMETHODIMP FileWriterPin::Stat(STATSTG* stat, DWORD) {
  if (!stat) return E_POINTER;
  std::memset(stat, 0, sizeof(*stat));
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = writer_.FileSize();
  return S_OK;
}

STDMETHODIMP FileWriterPin::Clone(IStream**) { return E_NOTIMPL; }

FileWriter::FileWriter() : BaseFilter(CLSID_FileWriter), pin_(*this) {}

FileWriter::~FileWriter() { CloseFile(); }

HRESULT FileWriter::Create(REFIID iid, void** out) {
  return zelvio::kit::CreateAndQuery<FileWriter>(iid, out);
}

void* FileWriter::FindInterface(REFIID iid) {
  if (iid == IID_IFileSinkFilter2) return static_cast<IFileSinkFilter2*>(this);
  if (iid == IID_IFileSinkFilter) return static_cast<IFileSinkFilter*>(static_cast<IFileSinkFilter2*>(this));
  return nullptr;
}

STDMETHODIMP FileWriter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) {
  if (!name) return E_POINTER;
  zelvio::kit::AutoLock lock(StateLock());
  if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
  CloseFile();
  name_ = name;
  return S_OK;
}

STDMETHODIMP FileWriter::SetMode(DWORD flags) {
  if (flags & ~DWORD(AM_FILE_OVERWRITE)) return E_INVALIDARG;
  zelvio::kit::AutoLock lock(StateLock());
  if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
  mode_ = flags;
  return S_OK;
}

STDMETHODIMP FileWriter::GetMode(DWORD* flags) {
  if (!flags) return E_POINTER;
  *flags = mode_;
  return S_OK;
}

STDMETHODIMP FileWriter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) {
  if (!name) return E_POINTER;
  zelvio::kit::AutoLock lock(StateLock());
  *name = nullptr;
  if (mt) std::memset(mt, 0, sizeof(*mt));
  if (name_.empty()) return E_FAIL;
  size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*name) return E_OUTOFMEMORY;
  std::memcpy(*name, name_.c_str(), bytes);
  return S_OK;
}

// A new run starts a new file; the previous run's mux has finished with the old one.
HRESULT FileWriter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  return OpenFile();
}

void FileWriter::OnJoinGraph(IFilterGraph* graph) {
  if (!graph) CloseFile();
}

HRESULT FileWriter::OpenFile() {
  zelvio::kit::AutoLock lock(fileLock_);
  file_.reset();
  position_ = 0;
  failureReported_ = false;
  if (name_.empty()) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
  DWORD creation = (mode_ & AM_FILE_OVERWRITE) ? CREATE_ALWAYS : OPEN_ALWAYS;
  HANDLE h = CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  file_ = zelvio::FileHandle(h);
  return S_OK;
}

void FileWriter::CloseFile() {
  zelvio::kit::AutoLock lock(fileLock_);
  file_.reset();
  position_ = 0;
}

HRESULT FileWriter::WriteAt(ULONGLONG offset, const void* data, ULONG size) {
  zelvio::kit::AutoLock lock(fileLock_);
  position_ = offset;
  ULONG written = 0;
  return WriteHere(data, size, &written);
}

HRESULT FileWriter::WriteHere(const void* data, ULONG size, ULONG* written) {
  zelvio::kit::AutoLock lock(fileLock_);
  if (written) *written = 0;
  // No file (the run failed to open it): the mux still writes its header and index when
  // it stops; refusing would leave it stuck half-stopped, so the bytes are dropped.
  if (!file_) {
    if (written) *written = size;
    return S_OK;
  }
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(position_);
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) return HRESULT_FROM_WIN32(GetLastError());
  DWORD done = 0;
  if (!WriteFile(file_.get(), data, size, &done, nullptr))
    return WriteFailed(HRESULT_FROM_WIN32(GetLastError()));
  position_ += done;
  if (written) *written = done;
  // A short write without an error is the disk running out of room.
  return done == size ? S_OK : WriteFailed(HRESULT_FROM_WIN32(ERROR_DISK_FULL));
}

// As the platform's writer does: a write that fails is reported to the graph, whose
// owner learns from the event that the file is no longer being written. The caller gets
// the failure too, so the mux stops delivering.
HRESULT FileWriter::WriteFailed(HRESULT hr) {
  if (failureReported_) return hr;
  failureReported_ = true;
  IFilterGraph* graph = Graph();
  if (!graph) return hr;
  IMediaEventSink* sink = nullptr;
  if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) && sink) {
    sink->Notify(EC_ERRORABORT, static_cast<LONG_PTR>(hr), 0);
    sink->Release();
  }
  return hr;
}

HRESULT FileWriter::ReadHere(void* data, ULONG size, ULONG* read) {
  zelvio::kit::AutoLock lock(fileLock_);
  if (read) *read = 0;
  if (!file_) return E_UNEXPECTED;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(position_);
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) return HRESULT_FROM_WIN32(GetLastError());
  DWORD done = 0;
  if (!ReadFile(file_.get(), data, size, &done, nullptr)) return HRESULT_FROM_WIN32(GetLastError());
  position_ += done;
  if (read) *read = done;
  return done == size ? S_OK : S_FALSE;
}

HRESULT FileWriter::SeekTo(LONGLONG move, DWORD origin, ULONGLONG* position) {
  zelvio::kit::AutoLock lock(fileLock_);
  LONGLONG base = 0;
  switch (origin) {
    case STREAM_SEEK_SET:
      base = 0;
      break;
    case STREAM_SEEK_CUR:
      base = static_cast<LONGLONG>(position_);
      break;
    case STREAM_SEEK_END:
      base = static_cast<LONGLONG>(FileSize());
      break;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  if (base + move < 0) return STG_E_INVALIDFUNCTION;
  position_ = static_cast<ULONGLONG>(base + move);
  if (position) *position = position_;
  return S_OK;
}

HRESULT FileWriter::Resize(ULONGLONG size) {
  zelvio::kit::AutoLock lock(fileLock_);
  if (!file_) return S_OK;  // nothing to resize; dropped like the writes
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  return S_OK;
}

ULONGLONG FileWriter::FileSize() {
  zelvio::kit::AutoLock lock(fileLock_);
  LARGE_INTEGER size = {};
  if (!file_ || !GetFileSizeEx(file_.get(), &size)) return 0;
  return static_cast<ULONGLONG>(size.QuadPart);
}

}  // namespace standins
