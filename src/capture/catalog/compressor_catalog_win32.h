// The main window's CompressorCatalog: the video compressors that offer a configuration
// dialog, in category order, and the category index behind each listed position; then,
// last, Zelvio's own screen codec from the Filters folder, so the positions of the system's
// compressors keep the meaning stored in the settings.
#pragma once

#include <dshow.h>

#include <string>
#include <vector>

#include "common/win32/com_ptr.h"
#include "capture/catalog/compressor_table.h"
#include "capture/catalog/sys_dev_enum_win32.h"

namespace zelvio {

class VideoCompressorCatalog {
 public:
  // Instantiates every compressor of the category once to ask for the dialog interface.
  VideoCompressorCatalog();

  // Friendly names of the listed compressors, in list order.
  const std::vector<std::string>& Names() const { return names_; }
  // An instance of the compressor at a list position, none when it is not listed: the first
  // look-up gets the one the listing created, every later one a new instance.
  ComPtr<IBaseFilter> FilterAt(int position);

 private:
  TSysDevEnum devices_;
  CompressorPositionTable table_;
  std::vector<std::string> names_;
  // The listed compressors' instances, by list position, until the first look-up.
  std::vector<ComPtr<IBaseFilter>> spares_;
  // The list position of our own codec, -1 when its module is missing or does not load.
  int ownCodecPosition_ = -1;
};

}  // namespace zelvio
