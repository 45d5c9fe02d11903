#include "capture/graph/pin_list_win32.h"

#include "platform/wide_text_win32.h"

namespace zelvio {

TPinList::TPinList(IBaseFilter* filter) {
  ComPtr<IEnumPins> enumerator;
  if (!filter || FAILED(filter->EnumPins(enumerator.Put())) || !enumerator) return;
  ComPtr<IPin> pin;
  while (enumerator->Next(1, pin.Put(), nullptr) == S_OK) pins_.push_back(pin);
}

PinDetails TPinList::Details(int index) const {
  PinDetails details;
  PIN_INFO info = {};
  if (FAILED(Pin(index)->QueryPinInfo(&info))) return details;
  if (info.pFilter) info.pFilter->Release();
  details.direction = info.dir;
  details.name = NarrowBounded(info.achName, MAX_PIN_NAME);
  return details;
}

}  // namespace zelvio
