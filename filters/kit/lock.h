// Critical section and scoped lock: the filters guard their state with these.
#pragma once
#include <windows.h>

namespace zelvio::kit {

class CritSec {
 public:
  CritSec() { InitializeCriticalSection(&cs_); }
  ~CritSec() { DeleteCriticalSection(&cs_); }
  CritSec(const CritSec&) = delete;
  CritSec& operator=(const CritSec&) = delete;

  void Enter() { EnterCriticalSection(&cs_); }
  void Leave() { LeaveCriticalSection(&cs_); }

 private:
  CRITICAL_SECTION cs_;
};

class AutoLock {
 public:
  explicit AutoLock(CritSec& cs) : cs_(cs) { cs_.Enter(); }
  ~AutoLock() { cs_.Leave(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  CritSec& cs_;
};

}  // namespace zelvio::kit
