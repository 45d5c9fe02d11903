#include "kit/transform_worker.h"

#include <vfwmsgs.h>

#include <new>

namespace zelvio::kit {

TransformWorker::TransformWorker(Host& host, int depth, size_t bytes)
    : host_(host), depth_(depth < 1 ? 1 : depth), bytes_(bytes) {
  InitializeConditionVariable(&changed_);
}

TransformWorker::~TransformWorker() { Stop(); }

HRESULT TransformWorker::Start() {
  {
    AutoLock lock(lock_);
    if (!exit_) return S_OK;
    exit_ = false;
    flushing_ = false;
    failure_ = S_OK;
  }
  if (thread_.Start(&TransformWorker::ThreadEntry, this)) return S_OK;
  AutoLock lock(lock_);
  exit_ = true;
  return E_OUTOFMEMORY;
}

void TransformWorker::Stop() {
  {
    AutoLock lock(lock_);
    exit_ = true;
    WakeAllConditionVariable(&changed_);
  }
  thread_.Join();
  AutoLock lock(lock_);
  while (!queue_.empty()) {
    Recycle(std::move(queue_.front().sample));
    queue_.pop_front();
  }
  queuedBytes_ = 0;
}

bool TransformWorker::Full(size_t incoming) const {
  if (queue_.empty()) return false;
  return static_cast<int>(queue_.size()) >= depth_ || queuedBytes_ + incoming > bytes_;
}

void TransformWorker::Recycle(std::unique_ptr<HeldSample> sample) {
  if (!sample) return;
  sample->Clear();
  // One spare per place in the queue and one for the worker: more would only hold memory.
  if (static_cast<int>(spare_.size()) <= depth_) spare_.push_back(std::move(sample));
}

HRESULT TransformWorker::Push(IMediaSample* sample) {
  long length = sample->GetActualDataLength();
  size_t incoming = length > 0 ? static_cast<size_t>(length) : 0;
  std::unique_ptr<HeldSample> held;
  {
    AutoLock lock(lock_);
    while (!exit_ && !flushing_ && failure_ == S_OK && Full(incoming))
      SleepConditionVariableCS(&changed_, lock_.Native(), INFINITE);
    if (exit_) return VFW_E_WRONG_STATE;
    if (flushing_) return S_FALSE;
    if (failure_ != S_OK) {
      // As if this Receive had delivered: the failure goes back upstream, the sample with it.
      HRESULT failure = failure_;
      failure_ = S_OK;
      return failure;
    }
    if (!spare_.empty()) {
      held = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  // The copy is made outside the lock, so the worker can take the sample before it.
  if (!held) held.reset(new (std::nothrow) HeldSample());
  if (!held) return E_OUTOFMEMORY;
  HRESULT hr = held->Keep(sample);
  AutoLock lock(lock_);
  if (FAILED(hr) || exit_ || flushing_) {
    Recycle(std::move(held));
    return FAILED(hr) ? hr : exit_ ? VFW_E_WRONG_STATE : S_FALSE;
  }
  queuedBytes_ += held->Footprint();
  queue_.push_back({std::move(held)});
  WakeAllConditionVariable(&changed_);
  return S_OK;
}

HRESULT TransformWorker::PushEndOfStream() {
  AutoLock lock(lock_);
  if (exit_) return VFW_E_WRONG_STATE;
  if (flushing_) return S_OK;
  queue_.push_back({});
  WakeAllConditionVariable(&changed_);
  return S_OK;
}

void TransformWorker::BeginFlush() {
  AutoLock lock(lock_);
  flushing_ = true;
  while (!queue_.empty()) {
    Recycle(std::move(queue_.front().sample));
    queue_.pop_front();
  }
  queuedBytes_ = 0;
  WakeAllConditionVariable(&changed_);
}

void TransformWorker::EndFlush() {
  AutoLock lock(lock_);
  while (busy_ && !exit_) SleepConditionVariableCS(&changed_, lock_.Native(), INFINITE);
  flushing_ = false;
  // A failure met while flushing belongs to what the flush threw away.
  failure_ = S_OK;
  WakeAllConditionVariable(&changed_);
}

void TransformWorker::ThreadEntry(void* self) { static_cast<TransformWorker*>(self)->Loop(); }

void TransformWorker::Loop() {
  for (;;) {
    Entry entry;
    {
      AutoLock lock(lock_);
      while (!exit_ && (queue_.empty() || flushing_))
        SleepConditionVariableCS(&changed_, lock_.Native(), INFINITE);
      if (exit_) return;
      entry = std::move(queue_.front());
      queue_.pop_front();
      if (entry.sample) queuedBytes_ -= entry.sample->Footprint();
      busy_ = true;
      // Room for the next sample upstream.
      WakeAllConditionVariable(&changed_);
    }
    HRESULT hr = entry.sample ? host_.Process(entry.sample.get()) : host_.DeliverEndOfStream();
    AutoLock lock(lock_);
    if (FAILED(hr) && !flushing_ && !exit_) failure_ = hr;
    Recycle(std::move(entry.sample));
    busy_ = false;
    WakeAllConditionVariable(&changed_);
  }
}

}  // namespace zelvio::kit
